// A run of registrations in one session: replaced photos' files are written
// again for later photos, which must then hold exactly their new bytes, and
// nothing of them is left in photo/ when the session ends.

#include "registration/helpers/paperfiles.h"
#include "registration/registerarchive.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::test;

class TestRegistrationSession : public QObject {
    Q_OBJECT
private slots:
    void replacedPhotosAreWrittenExactly();
};

namespace {

QByteArray photo(const ProgramFolder &folder, const QString &name)
{
    QFile f(folder.file("photo/" + name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// An archive of one meeting row and the given photos; `cut` ends its race
// card inside a record so that the archive fails.
bool registerPaper(const ProgramFolder &folder, RegistrationSession &session, int meeting,
                   const QList<ArchiveEntry> &photos, bool cut = false)
{
    QList<ArchiveEntry> entries = photos;
    entries << ArchiveEntry{"kelmfa.txt", paperLines({recordFor("f_setus", {meeting})})};
    if (cut)
        entries << ArchiveEntry{"kelmfd.txt", paperLines({recordFor("f_wakus", {meeting, 1, 1, 1})}).chopped(9)};
    const QString path = folder.file(QStringLiteral("receive/paper%1.lzh").arg(meeting));
    return writeLzh(path, entries) && register_archive(path, {}, &session).registered;
}

} // namespace

void TestRegistrationSession::replacedPhotosAreWrittenExactly()
{
    ProgramFolder folder;
    const QByteArray longA(300, 'A'), longD(400, 'D');
    {
        RegistrationSession session;
        QVERIFY(registerPaper(folder, session, 1, {{"1111.gif", longA}, {"2222.gif", "GIF89a-two"}}));
        // The replaced 1111 (300 bytes) and 2222 become spare files ...
        QVERIFY(registerPaper(folder, session, 2, {{"1111.gif", "GIF89a-short"}, {"2222.gif", "GIF89a-2"}}));
        // ... that the next photos are written into: shorter and longer ones.
        QVERIFY(registerPaper(folder, session, 3, {{"2222.gif", "x"}, {"1111.gif", longD}, {"3333.gif", "new"}}));
        QCOMPARE(photo(folder, "1111.gif"), longD);
        QCOMPARE(photo(folder, "2222.gif"), QByteArray("x"));
        QCOMPARE(photo(folder, "3333.gif"), QByteArray("new"));

        // A failed archive leaves the photos as they were, though its own
        // was staged in a spare file (one of two: the other is left over).
        QVERIFY(!registerPaper(folder, session, 4, {{"1111.gif", "lost"}}, true));
        QCOMPARE(photo(folder, "1111.gif"), longD);
    }
    QCOMPARE(QDir(folder.file("photo")).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"1111.gif", "2222.gif", "3333.gif"}));
}

QTEST_GUILESS_MAIN(TestRegistrationSession)
#include "tst_registrationsession.moc"
