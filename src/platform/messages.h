#pragma once
// The message service: every message box of the program goes through it, so
// tests can answer questions by script and read what was shown.

#include <QString>
#include <QStringList>
#include <deque>

namespace kelmon {

class MessageService {
public:
    virtual ~MessageService() = default;
    // Information icon, OK button.
    virtual void information(const QString &title, const QString &text) = 0;
    // Yes and No buttons; returns true for Yes. defaultYes picks the default button.
    virtual bool question(const QString &title, const QString &text, bool defaultYes = true) = 0;
    // Critical icon, OK button.
    virtual void critical(const QString &title, const QString &text) = 0;
    // Exclamation icon, OK button; a service without that icon shows it as information.
    virtual void exclamation(const QString &title, const QString &text) { information(title, text); }
};

// The service in force. Until one is installed, a quiet service that writes
// to stderr and answers No is used.
MessageService &messages();
// Installs a service (not owned); nullptr restores the quiet one.
void setMessageService(MessageService *service);

// Answers questions from a script and records every message shown.
class ScriptedMessages : public MessageService {
public:
    struct Shown {
        enum Kind { Information, Question, Critical } kind;
        QString title;
        QString text;
    };
    ScriptedMessages();                 // installs itself
    ~ScriptedMessages() override;       // restores the quiet service
    void answer(bool yes) { answers_.push_back(yes); }   // queued answers; an empty queue answers No
    const std::deque<Shown> &shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); answers_.clear(); }

    void information(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text, bool defaultYes) override;
    void critical(const QString &title, const QString &text) override;

private:
    std::deque<Shown> shown_;
    std::deque<bool> answers_;
};

} // namespace kelmon
