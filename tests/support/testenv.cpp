#include "testenv.h"

#include "common/modkelmon.h"
#include "common/programfolder.h"

#include <QDir>

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

QString dataPath(const QString &name) { return QDir(QStringLiteral(KELMON_TEST_DATA)).filePath(name); }

} // namespace kelmon::test
