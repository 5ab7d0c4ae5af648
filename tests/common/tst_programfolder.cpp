// The program folder's staging files: never an entry that is there, a link
// least of all.

#include "common/programfolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace kelmon;

class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The names after a first file's are taken by a file and, before it, a
    // link to it: the next file is made under another name, and neither is written.
    void stagingFileTakesAFreeName()
    {
        QTemporaryDir dir;
        QByteArray first, next;
        const int fd = createStagingFile(dir.path(), ".stage-", &first);
        QVERIFY(fd >= 0);
        ::close(fd);
        // The name ends in a serial number.
        const auto after = [name = QFile::decodeName(first)](int n) {
            return name.section('-', 0, -2) + '-' + QString::number(name.section('-', -1).toLongLong() + n);
        };
        QFile f(after(2));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("keep") == 4);
        f.close();
        QVERIFY(QFile::link(after(2), after(1)));
        const int made = createStagingFile(dir.path(), ".stage-", &next);
        QVERIFY(made >= 0);
        QCOMPARE(::write(made, "new", 3), 3);
        ::close(made);
        QCOMPARE(readRegularFile(after(2), 10).value_or("-") + readRegularFile(QFile::decodeName(next), 10).value_or("-"), "keepnew");
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
