#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kelmon::fuzz {

namespace {
// Both live until the process ends: libFuzzer ends it with exit(), after
// which Qt's own statics are gone and the application object must not be
// destroyed.
QCoreApplication *app = nullptr;
QString folder;
std::string nativeFolder;
}

void initialize(int *argc, char ***argv)
{
    if (app)
        return;
    app = new QCoreApplication(*argc, *argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        finding(QStringLiteral("no scratch folder: %1").arg(dir.errorString()));
    dir.setAutoRemove(false);
    folder = dir.path();
    nativeFolder = QFile::encodeName(folder).toStdString();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(nativeFolder, ignored);
    });
}

QString scratch() { return folder; }

void writeBytes(const QString &path, const uint8_t *data, std::size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size) || !file.flush())
        finding(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

void finding(const QString &what)
{
    std::fprintf(stderr, "FINDING: %s\n", what.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace kelmon::fuzz
