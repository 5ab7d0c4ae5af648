#include "racedetails/yosopanel.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/textforms.h"
#include "platform/pictures.h"

#include <QSqlQuery>
#include <QStringList>

namespace kelmon::racedetails {

namespace {

// Rows of the panel, in twips: line k is 240 below line k - 1.
constexpr int kLineStep = 240;
constexpr int kBoatTop = 2100;    // boats of both diagrams
constexpr int kWaveTop = 2140;
constexpr int kMarkTop = 2163;
constexpr int kMarkLeft = 5760;

// Where the formation's groups stand: the first nearest the start line.
constexpr int kFirstGroupLeft = 1200;
constexpr int kMiddleGroupLeft = 720;
constexpr int kLastGroupLeft = 240;

// The style codes of the paper; the digits are the sizes of the groups.
const QStringList kStyles = {"114", "123", "132", "141", "150", "213", "222", "231",
                             "240", "312", "321", "330", "411", "420", "510"};
const QString kDefaultStyle = QStringLiteral("330");

// Start-line digit 0..2: where the boat stands and where its wake starts
// (the wake grows longer with the digit).
struct StartLine {
    int boatLeft;
    int waveLeft;
};
constexpr StartLine kStartLine[3] = {{4440, 3840}, {4680, 3720}, {4920, 3720}};

GridPicture yosoPicture(int index) { return {imlyosodisp1, index}; }

// The panel position (1..6) of frame i, 0 when the frame has none.
int positionOf(const QString &positions, int frame)
{
    const int p = yosoDigit(positions, frame);
    return p >= 1 && p <= kYosoLines ? p : 0;
}

} // namespace

int yosoDigit(const QString &digits, int i)
{
    if (i < 1 || i > digits.size())
        return 0;
    const QChar c = digits.at(i - 1);
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : 0;
}

YosoStyle yosoStyle(const QString &style)
{
    QString code = trimBlanks(style);
    if (!kStyles.contains(code))
        code = kDefaultStyle;
    const int first = yosoDigit(code, 1);
    const int second = yosoDigit(code, 2);
    const int third = yosoDigit(code, 3);
    YosoStyle s;
    QStringList sizes;
    for (int d : {first, second, third})
        if (d > 0)
            sizes << QString::number(d);
    s.label = sizes.join(u':');
    // Without a third group the second one is the last.
    for (int p = 1; p <= kYosoLines; ++p) {
        int left = kLastGroupLeft;
        if (p <= first)
            left = kFirstGroupLeft;
        else if (third > 0 && p <= first + second)
            left = kMiddleGroupLeft;
        s.lefts[std::size_t(p - 1)] = left;
    }
    return s;
}

int yosoWordPicture(const QString &word)
{
    const QString trimmed = trimBlanks(word);
    for (int i = 0; i < 6; ++i)
        if (trimmed == QString::fromUtf16(pictures::raceWords[i]))
            return 10 + i;
    return 0;
}

YosoPanel::YosoPanel()
{
    // Until a prediction places them, the boats stand where no digit moves
    // them and the formation is that of the default style.
    const YosoStyle style = yosoStyle(QString());
    for (int k = 0; k < kYosoLines; ++k) {
        const std::size_t i = std::size_t(k);
        styleBoats[i] = {{}, style.lefts[i], kBoatTop + kLineStep * k};
        waves[i] = {{}, kStartLine[0].waveLeft, kWaveTop + kLineStep * k};
        lineBoats[i] = {{}, kStartLine[0].boatLeft, kBoatTop + kLineStep * k};
        frameMarks[i] = {{}, kMarkLeft, kMarkTop + kLineStep * k};
    }
}

void YosoPanel::clear()
{
    for (QString &w : words)
        w.clear();
    word4.clear();
    wordPicture = {};
    styleLabel.clear();
    for (std::size_t k = 0; k < std::size_t(kYosoLines); ++k) {
        lines[k].clear();
        comments[k].clear();
        styleBoats[k].picture = {};
        waves[k].picture = {};
        lineBoats[k].picture = {};
        frameMarks[k].picture = {};
    }
}

bool YosoPanel::load(const QString &setuscode, const QString &datescnt, const QString &racesno)
{
    const QVariantList keys = {modkelmon::keyValue(setuscode), modkelmon::keyValue(datescnt),
                               modkelmon::keyValue(racesno)};
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from f_yosos where setuscode = ? and datescnt = ? "
                                                 "and racesno = ?"),
                                  keys);
    if (!q.next())
        return false;
    auto field = [&q](const char *name) { return q.value(QString::fromLatin1(name)).toString(); };
    const QString marks = field("yosos_1");
    const QString positions = field("yosos_2");
    const QString digits = field("yosos_3");
    const QString style = field("Style");
    words = {trimTrailingBlanks(field("yososword_1")), trimTrailingBlanks(field("yososword_2")),
             trimTrailingBlanks(field("yososword_3"))};
    word4 = trimBlanks(field("yososword_4"));
    const int word = yosoWordPicture(field("yososword_5"));
    wordPicture = word ? yosoPicture(word) : GridPicture{};
    std::array<QString, 6> sunpyo;
    for (int i = 1; i <= 6; ++i)
        sunpyo[std::size_t(i - 1)] = trimBlanks(q.value(QStringLiteral("sunpyo_%1").arg(i)).toString());
    q.finish();

    // The racers of the race by frame; a frame outside 1..6 names no line.
    std::array<std::optional<QString>, 6> names;
    QSqlQuery w = modkelmon::exec(QStringLiteral("select wakusno, sensyname from f_wakus where setuscode = ? "
                                                 "and datescnt = ? and racesno = ?"),
                                  keys);
    while (w.next()) {
        const double frame = w.value(0).toDouble();
        if (frame >= 1 && frame <= 6 && frame == int(frame))
            names[std::size_t(int(frame) - 1)] = w.value(1).toString();
    }

    // Later frames overwrite earlier ones that claim the same position.
    for (int i = 1; i <= 6; ++i) {
        const int p = positionOf(positions, i);
        if (p == 0)
            continue;
        const std::size_t k = std::size_t(p - 1);
        styleBoats[k].picture = yosoPicture(pictures::boatPicture(i));
        frameMarks[k].picture = yosoPicture(pictures::frameMark(i));
        lineBoats[k].picture = yosoPicture(pictures::boatPicture(i));
        comments[k] = sunpyo[std::size_t(i - 1)];
    }
    applyStyle(style);
    applyLines(marks, positions, names);
    applyStartLine(positions, digits);
    return true;
}

void YosoPanel::applyStyle(const QString &style)
{
    const YosoStyle s = yosoStyle(style);
    styleLabel = s.label;
    for (std::size_t k = 0; k < std::size_t(kYosoLines); ++k)
        styleBoats[k].left = s.lefts[k];
}

void YosoPanel::applyLines(const QString &marks, const QString &positions,
                           const std::array<std::optional<QString>, 6> &names)
{
    for (int i = 1; i <= 6; ++i) {
        const int p = positionOf(positions, i);
        if (p == 0)
            continue;
        QString &line = lines[std::size_t(p - 1)];
        line = modkelmon::get_mark_name(yosoDigit(marks, i));
        // A frame without its racer row shows only the mark.
        if (const auto &name = names[std::size_t(i - 1)])
            line += u' ' + name->left(4);
    }
}

void YosoPanel::applyStartLine(const QString &positions, const QString &digits)
{
    for (int i = 1; i <= 6; ++i) {
        const int p = positionOf(positions, i);
        if (p == 0)
            continue;
        const int digit = yosoDigit(digits, i);
        // Any other digit leaves the boat where it stood and shows no wake.
        if (digit > 2)
            continue;
        const StartLine &s = kStartLine[digit];
        const std::size_t k = std::size_t(p - 1);
        lineBoats[k].left = s.boatLeft;
        waves[k].picture = yosoPicture(pictures::wavePicture(digit));
        waves[k].left = s.waveLeft;
    }
}

} // namespace kelmon::racedetails
