// Registered generated papers fill the prediction panel, the power indices
// and the outcomes of earlier days of every race: what the sample papers
// hold is what these windows read.

#include "common/modkelmon.h"
#include "racedetails/demegrid.h"
#include "racedetails/powerindex.h"
#include "racedetails/yosopanel.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

class TestYosoDemePaper : public test::DatabaseTest {
    Q_OBJECT
private slots:
    void everyRaceIsFilled()
    {
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
        const QString setuscode = modkelmon::scalar("select setuscode from f_setfg where kyosocode = 5").toString();
        for (int race = 1; race <= 12; ++race) {
            const QString racesno = QString::number(race);
            YosoPanel panel;
            QVERIFY(panel.load(setuscode, "3", racesno));
            QSet<int> frames;
            for (int k = 0; k < kYosoLines; ++k)
                frames << panel.lineBoats[k].picture.index;
            QCOMPARE(frames.size(), 6);
            GridModel power;
            disp_powp(power, setuscode, "3", racesno);
            QVERIFY(!power.text(6, 0).isEmpty());
            // Day 3 lists the race's results of days 1 and 2.
            GridModel deme;
            set_mfgf_resta(deme);
            disp_f_resta(deme, setuscode, racesno, "3");
            QCOMPARE(deme.rows(), 3);
            QCOMPARE(deme.text(2, 5).size(), 5);
        }
    }
};

QTEST_GUILESS_MAIN(TestYosoDemePaper)
#include "tst_yosodemepaper.moc"
