#include "messages.h"

#include <cstdio>

namespace kelmon {

namespace {

class QuietMessages : public MessageService {
public:
    void information(const QString &title, const QString &text) override { print(title, text); }
    bool question(const QString &title, const QString &text, bool) override
    {
        print(title, text);
        return false;
    }
    void critical(const QString &title, const QString &text) override { print(title, text); }

private:
    static void print(const QString &title, const QString &text)
    {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(title), qPrintable(text));
    }
};

QuietMessages quiet;
MessageService *current = &quiet;

} // namespace

MessageService &messages() { return *current; }

void setMessageService(MessageService *service) { current = service ? service : &quiet; }

ScriptedMessages::ScriptedMessages() { setMessageService(this); }

ScriptedMessages::~ScriptedMessages()
{
    if (current == this)
        setMessageService(nullptr);
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const auto &s : shown_)
        out << s.text;
    return out;
}

void ScriptedMessages::information(const QString &title, const QString &text)
{
    shown_.push_back({Shown::Information, title, text});
}

bool ScriptedMessages::question(const QString &title, const QString &text, bool)
{
    shown_.push_back({Shown::Question, title, text});
    if (answers_.empty())
        return false;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

void ScriptedMessages::critical(const QString &title, const QString &text)
{
    shown_.push_back({Shown::Critical, title, text});
}

} // namespace kelmon
