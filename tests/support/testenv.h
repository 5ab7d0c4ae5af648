#pragma once
// Test environment: a temporary program folder with its own database, and a
// recorder for the fatal exits.

#include <QFont>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace kelmon::test {

class ProgramFolder {
public:
    // Creates a temporary program folder and points the program at it; with
    // openDatabase the database is created and opened there.
    explicit ProgramFolder(bool openDatabase = true);
    ~ProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    // Fatal exits seen since construction (the exit codes).
    const std::vector<int> &exits() const;

private:
    QTemporaryDir dir_;
};

// Base of a test whose functions each run in a fresh program folder with its
// own database; after each function no fatal exit may have been seen.
class DatabaseTest : public QObject {
    Q_OBJECT
protected slots:
    void init();
    void cleanup();

protected:
    std::unique_ptr<ProgramFolder> folder;
};

// Sets the application font to the program's own for its lifetime.
class ProgramFont {
public:
    ProgramFont();
    ~ProgramFont();

private:
    QFont before_;
};

// The fixture folder of the tests (tests/data).
QString dataPath(const QString &name);

} // namespace kelmon::test
