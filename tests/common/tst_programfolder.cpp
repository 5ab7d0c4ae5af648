// The program folder's staging files: never an entry that is there, a link
// least of all.

#include "common/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace kelmon;

class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The names after a first file's are taken by a link to a file outside, a
    // file and a link to nothing: the next file is made under another name,
    // and none of them is written or made.
    void stagingFileTakesAFreeName()
    {
        QTemporaryDir dir, outside;
        QByteArray first;
        const int fd = createStagingFile(dir.path(), ".stage-", &first);
        QVERIFY(fd >= 0);
        ::close(fd);
        // The name ends in a serial number: the next ones are taken.
        const QString start = QFile::decodeName(first).section('-', 0, -2) + '-';
        const qint64 serial = QFile::decodeName(first).section('-', -1).toLongLong();
        const QString target = outside.filePath("target"), nothing = outside.filePath("nothing");
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("keep") == 4);
        f.close();
        QVERIFY(QFile::link(target, start + QString::number(serial + 1)));
        QVERIFY(QFile::copy(target, start + QString::number(serial + 2)));
        QVERIFY(QFile::link(nothing, start + QString::number(serial + 3)));

        QByteArray next;
        const int made = createStagingFile(dir.path(), ".stage-", &next);
        QVERIFY(made >= 0);
        QCOMPARE(::write(made, "new", 3), 3);
        ::close(made);
        const auto content = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
        };
        QVERIFY(QFile::decodeName(next).section('-', -1).toLongLong() > serial + 3);
        QCOMPARE(content(target) + content(start + QString::number(serial + 2)), "keepkeep");
        QVERIFY(!QFile::exists(nothing));
        QCOMPARE(content(QFile::decodeName(next)), "new");
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
