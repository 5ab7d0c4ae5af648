#include "racedetails/resultrow.h"

#include "common/codetables.h"
#include "common/resultcodes.h"
#include "common/textforms.h"
#include "common/timeforms.h"
#include "racecard/boatrow.h"

namespace kelmon::racedetails {

namespace {

const QString kDash = QStringLiteral("-");

// Penalty words by reason 1..5, each five characters.
constexpr const char16_t *kPenaltyWords[5] = {
    u"選責\u3000\u3000 ", u"待機違反 ", u"不良航法 ", u"反則\u3000\u3000 ", u"失速２回 ",
};

// An absent boat, or one without an exhibition, has no course, tilt or
// exhibition time to show.
bool noExhibition(const RestbRow &row)
{
    return isAbsent(row.cyakucode) || row.tenjitime == 0;
}

} // namespace

bool isFlying(int cyakucode) { return cyakucode == 12 || cyakucode == 62; }
bool isLate(int cyakucode) { return cyakucode == 13 || cyakucode == 63; }
bool isAbsent(int cyakucode) { return cyakucode == 14 || cyakucode == 64; }

RestbRow RestbRow::fromRecord(const QSqlRecord &record)
{
    const racecard::BoatRow r(record);
    RestbRow row;
    row.datescnt = r.code("datescnt");
    row.racesno = r.code("racesno");
    row.wakusno = r.code("wakusno");
    row.cyakucode = r.code("cyakucode");
    row.yososno = r.code("yososno");
    row.sinyuno = r.code("sinyuno");
    row.gentenflag = r.code("gentenflag");
    row.sensyname = r.text("sensyname");
    row.tourokuno = r.num("tourokuno");
    row.racestime = r.num("racestime");
    row.starttime = r.num("starttime");
    row.chilt = r.num("chilt");
    row.tenjitime = r.num("tenjitime");
    row.genten = r.num("genten");
    return row;
}

QString resultText(const RestbRow &row) { return modkelmon::result_code(row.cyakucode); }

QString markText(const RestbRow &row) { return modkelmon::get_mark_name(row.yososno); }

QString raceTimeText(const RestbRow &row) { return modkelmon::race_time(row.racestime); }

QString courseText(const RestbRow &row)
{
    return noExhibition(row) ? kDash : QString::number(row.sinyuno);
}

QString startText(const RestbRow &row)
{
    if (noExhibition(row) || isFlying(row.cyakucode) || isLate(row.cyakucode))
        return kDash;
    return format(row.starttime, "00");
}

QString tiltText(const RestbRow &row)
{
    return noExhibition(row) ? kDash : format(format(row.chilt, "0.0"), "@@@@");
}

QString exhibitionText(const RestbRow &row)
{
    return noExhibition(row) ? kDash : format(row.tenjitime, "0.00");
}

QString penaltyText(const RestbRow &row)
{
    if (row.gentenflag < 1 || row.gentenflag > 5)
        return QString();
    return QString::fromUtf16(kPenaltyWords[row.gentenflag - 1])
        + format(QLatin1Char('-') + plainNumber(row.genten), "@@@");
}

QString rawMark(const RestbRow &row) { return QString::number(row.yososno); }

QString rawResult(const RestbRow &row) { return QString::number(row.cyakucode); }

QString rawRaceTime(const RestbRow &row) { return plainNumber(row.racestime); }

QString signedTilt(const RestbRow &row)
{
    return row.chilt < 0 ? plainNumber(row.chilt) : QLatin1Char('+') + plainNumber(row.chilt);
}

QString rawTourokuno(const RestbRow &row) { return plainNumber(row.tourokuno); }

} // namespace kelmon::racedetails
