#include "testenv.h"

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace kelmon::test {

namespace {
std::vector<int> exitCodes;
}

ProgramFolder::ProgramFolder(bool openDatabase)
{
    exitCodes.clear();
    modkelmon::set_exit_sink([](int code) { exitCodes.push_back(code); });
    setProgramFolder(dir_.path());
    if (openDatabase)
        modkelmon::open_db();
}

ProgramFolder::~ProgramFolder()
{
    modkelmon::close_db();
    setProgramFolder(QString());
    modkelmon::set_exit_sink({});
}

const std::vector<int> &ProgramFolder::exits() const { return exitCodes; }

void DatabaseTest::init() { folder = std::make_unique<ProgramFolder>(); }

void DatabaseTest::cleanup()
{
    QVERIFY(folder->exits().empty());
    folder.reset();
}

ProgramFont::ProgramFont() : before_(QApplication::font())
{
    QApplication::setFont(makeFont(DefaultFontName, DefaultFontPoints));
}

ProgramFont::~ProgramFont() { QApplication::setFont(before_); }

QString dataPath(const QString &name) { return QDir(QStringLiteral(KELMON_TEST_DATA)).filePath(name); }

} // namespace kelmon::test
