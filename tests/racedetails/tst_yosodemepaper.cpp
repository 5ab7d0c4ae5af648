// Registered generated papers fill the prediction panel, the power indices
// and the outcomes of earlier days of every race: what the sample papers
// hold is what these windows read.

#include "common/modkelmon.h"
#include "common/textforms.h"
#include "racedetails/demegrid.h"
#include "racedetails/powerindex.h"
#include "racedetails/yosopanel.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

class TestYosoDemePaper : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;
    QString setuscode;

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::ProgramFolder>();
        SamplePaperOptions options;
        options.venue = 5;
        options.date = QDate(2026, 3, 10);
        options.day = 1;
        options.meetingDays = 4;
        QString error;
        const QStringList names = writeSamplePapers(folder->file("receive"), options, 3, &error);
        QVERIFY2(names.size() == 3, qPrintable(error));
        for (const QString &name : names)
            QVERIFY(register_archive(folder->file("receive/" + name)).registered);
        setuscode = modkelmon::scalar("select setuscode from f_setfg where kyosocode = 5").toString();
        QVERIFY(!setuscode.isEmpty());
    }
    void cleanupTestCase()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void everyRaceIsFilled_data()
    {
        QTest::addColumn<int>("race");
        for (int race = 1; race <= 12; ++race)
            QTest::addRow("%dR", race) << race;
    }
    void everyRaceIsFilled()
    {
        QFETCH(int, race);
        const QString racesno = QString::number(race);
        YosoPanel panel;
        QVERIFY(panel.load(setuscode, "3", racesno));
        QVERIFY(!panel.styleLabel.isEmpty());
        QVERIFY(!panel.wordPicture.isNull());
        QSet<int> frames;
        for (int k = 0; k < kYosoLines; ++k) {
            // Each line has its racer, each diagram its boat and wake.
            QVERIFY(panel.lines[k].size() > 2);
            QVERIFY(!panel.waves[k].picture.isNull());
            frames << panel.lineBoats[k].picture.index;
        }
        QCOMPARE(frames.size(), 6);

        GridModel power;
        disp_powp(power, setuscode, "3", racesno);
        for (int r = 1; r <= 6; ++r)
            QVERIFY(!power.text(r, 0).isEmpty());

        // Day 3 lists the race's results of days 1 and 2.
        GridModel deme;
        set_mfgf_resta(deme);
        disp_f_resta(deme, setuscode, racesno, "3");
        QCOMPARE(deme.rows(), 3);
        for (int r = 1; r <= 2; ++r) {
            QCOMPARE(deme.text(r, 0), QStringLiteral("%1日目").arg(r));
            QVERIFY(QRegularExpression("^[1-6]-[1-6]-[1-6]$").match(deme.text(r, 5)).hasMatch());
            QVERIFY(val(deme.text(r, 9)) >= 100);
        }
    }
};

QTEST_GUILESS_MAIN(TestYosoDemePaper)
#include "tst_yosodemepaper.moc"
