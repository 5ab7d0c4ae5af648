#include "common/codetables.h"

#include "common/textforms.h"

#include <QDate>
#include <iterator>
#include <span>

namespace modkelmon {

namespace {

// A 1-based table of names with the filler shown for any code outside it.
struct CodeTable {
    std::span<const char16_t *const> names;
    const char16_t *filler;

    QString operator()(int code) const
    {
        if (code < 1 || code > int(names.size()))
            return QString::fromUtf16(filler);
        return QString::fromUtf16(names[code - 1]);
    }
};

constexpr const char16_t *venueNames[] = {
    u"桐　生", u"戸　田", u"江戸川", u"平和島", u"多摩川", u"浜名湖",
    u"蒲　郡", u"常　滑", u"津",     u"三　国", u"琵琶湖", u"住之江",
    u"尼　崎", u"鳴　門", u"丸　亀", u"児　島", u"宮　島", u"徳　山",
    u"下　関", u"若　松", u"芦　屋", u"福　岡", u"唐　津", u"大　村",
};
static_assert(std::size(venueNames) == kVenueCount);

constexpr const char16_t *gradeNames[] = {
    u"一般", u"Ｇ\u2162", u"Ｇ\u2161", u"Ｇ\u2160", u"ＳＧ",
};

constexpr const char16_t *prefNames[] = {
    u"北海", u"青森", u"岩手", u"宮城", u"秋田", u"山形", u"福島", u"茨城",
    u"栃木", u"群馬", u"埼玉", u"千葉", u"東京", u"神奈", u"新潟", u"富山",
    u"石川", u"福井", u"山梨", u"長野", u"岐阜", u"静岡", u"愛知", u"三重",
    u"滋賀", u"京都", u"大阪", u"兵庫", u"奈良", u"和歌", u"鳥取", u"島根",
    u"岡山", u"広島", u"山口", u"徳島", u"香川", u"愛媛", u"高知", u"福岡",
    u"佐賀", u"長崎", u"熊本", u"大分", u"宮崎", u"鹿児", u"沖縄",
};
static_assert(std::size(prefNames) == 47);

constexpr const char16_t *kindNames[] = {
    u"全国", u"最近", u"今期", u"当地", u"記念", u"新鋭", u"女子",
    u"進固", u"初日", u"ＤＲ", u"準優", u"選抜", u"最終", u"優勝",
};
static_assert(std::size(kindNames) == 14);

constexpr const char16_t *sinyuNames[] = {
    u"　内", u"　中", u"　外", u"　全", u"内中", u"中外",
};

constexpr const char16_t *bloodNames[] = { u"Ａ", u"Ｂ", u"Ｏ", u"AB" };

constexpr const char16_t *markNames[] = { u"◎", u"○", u"×", u"△", u"注", u"\u2026" };

constexpr const char16_t *colorNames[] = { u"白", u"黒", u"赤", u"青", u"黄", u"緑" };

constexpr const char16_t *circleNumbers[] = {
    u"\u2460", u"\u2461", u"\u2462", u"\u2463", u"\u2464", u"\u2465",
};

constexpr const char16_t twoIdeographicBlanks[] = u"　　";

constexpr const char16_t *weekdayNames[] = { u"月", u"火", u"水", u"木", u"金", u"土", u"日" };

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

QString get_kyoso_name(int kyosocode) { return CodeTable{venueNames, u""}(kyosocode); }
QString get_grade_name(int gradecode) { return CodeTable{gradeNames, u""}(gradecode); }
QString get_pref_name(int prefcode) { return CodeTable{prefNames, twoIdeographicBlanks}(prefcode); }
QString get_kind_name(int kindcode) { return CodeTable{kindNames, twoIdeographicBlanks}(kindcode); }
QString get_sinyu_name(int sinyu_k) { return CodeTable{sinyuNames, twoIdeographicBlanks}(sinyu_k); }
QString get_blood_name(int blood) { return CodeTable{bloodNames, u"  "}(blood); }
QString get_mark_name(int markcode) { return CodeTable{markNames, u""}(markcode); }
QString get_color_name(int wakusno) { return CodeTable{colorNames, u"　"}(wakusno); }
QString get_circle_number(int wakusno) { return CodeTable{circleNumbers, u"○"}(wakusno); }

std::optional<QRgb> get_wakucolor(int wakusno)
{
    static constexpr QRgb tints[6] = {0xFFFFFF, 0xC0C0C0, 0xFFC0C0, 0xC0C0FF, 0xFFFFC0, 0xC0FFC0};
    if (wakusno < 1 || wakusno > 6)
        return std::nullopt;
    return tints[wakusno - 1];
}

QString shortDate(QStringView date)
{
    const auto piece = [date](qsizetype from) {
        return from < date.size() ? date.sliced(from, qMin<qsizetype>(2, date.size() - from)).toString()
                                  : QString();
    };
    return piece(2) + u'/' + piece(4) + u'/' + piece(6);
}

QString weekdayText(QStringView date)
{
    // The full four-digit year is read, so that a date of any century gets
    // its own weekday.
    if (date.size() != 8 || !allDigits(date))
        return QString();
    const QDate d(date.first(4).toInt(), date.sliced(4, 2).toInt(), date.sliced(6, 2).toInt());
    if (!d.isValid())
        return QString();
    return u'（' + QString::fromUtf16(weekdayNames[d.dayOfWeek() - 1]) + u'）';
}

QString dayOfMeetingText(int datescnt)
{
    return QString::number(datescnt) + QString::fromUtf16(u"日目");
}

QString raceCaptionText(int racesno)
{
    return kelmon::format(QString::number(racesno), "@@") + u'R';
}

} // namespace modkelmon
