// Simulation of one meeting for the sample-paper generator: forty-eight
// racers with motors and boats, the programme of every day (a dream race on
// the first day, semi-finals on the day before the last, the final on the
// last day) and the result of every race with start timings, times, payouts.

#include "samplepaper_p.h"

#include <algorithm>

namespace kelmon::sample {

namespace {

constexpr int kRacers = 48;

const QStringList &familyNames(bool privateUse)
{
    // The private-use forms of 崎, 迫 and 柳 are the paper's own name kanji.
    static const QStringList plain = {
        "山田", "佐藤", "鈴木", "高橋", "田中", "渡辺", "伊藤", "中村", "小林", "加藤",
        "吉田", "松本", "井上", "木村", "清水", "山口", "池田", "橋本", "石川", "前田",
        "藤田", "岡田", "後藤", "長谷川", "村上", "近藤", "石井", "坂本", "遠藤", "青木",
        "藤井", "西村", "福田", "太田", "三浦", "岡本", "松田", "中川", "森", "林",
        "山崎", "迫田", "青柳", "宮崎", "柳田", "大迫"};
    static const QStringList pua = [] {
        QStringList l = plain;
        for (QString &s : l) {
            s.replace(QChar(0x5D0E), QChar(0xE042));   // 崎
            s.replace(QChar(0x8FEB), QChar(0xE043));   // 迫
            s.replace(QChar(0x67F3), QChar(0xE044));   // 柳
        }
        return l;
    }();
    return privateUse ? pua : plain;
}

const QStringList &givenNames()
{
    static const QStringList l = {
        "太郎", "健一", "誠", "浩二", "大輔", "翔太", "拓也", "直樹", "和也", "隆",
        "秀樹", "裕介", "優子", "美咲", "亮", "勇気", "悠斗", "達也", "博之", "正人",
        "智也", "恵", "雄一", "康弘", "真由美", "陽平", "一輝", "弘樹", "彩", "光"};
    return l;
}

QString makeName(Rng &r, bool privateUse)
{
    return r.pick(familyNames(privateUse)) + QChar(0x3000) + r.pick(givenNames());
}

QString classOf(double rate)
{
    return rate >= 6.2 ? "A1" : rate >= 5.2 ? "A2" : rate >= 3.6 ? "B1" : "B2";
}

QString codeText(int code)
{
    return QString::asprintf("%02d", code);
}

// A run history of one meeting: units of class digit and two-character code.
QString makeHistory(Rng &r, double skill, int runs, bool final)
{
    QString h;
    for (int i = 0; i < runs; ++i) {
        const bool last = final && i == runs - 1;
        const int cls = last ? 5 : (i >= runs - 3 && r.chance(0.3)) ? 3 : 1;
        if (r.chance(0.03)) {
            static const QStringList odd = {"F ", "K0", "S0", "L0", "07", "11"};
            h += QString::number(cls) + r.pick(odd);
            continue;
        }
        const double x = r.normal() * 1.5 + (8.0 - skill) * 0.55 + 1.0;
        h += QString::number(cls) + codeText(qBound(1, int(std::lround(x)), 6));
    }
    return h;
}

QString hhmm(int minutes)
{
    return QString::asprintf("%02d%02d", (minutes / 60) % 24, minutes % 60);
}

QList<int> everyone()
{
    QList<int> l;
    for (int i = 0; i < kRacers; ++i)
        l << i;
    return l;
}

int raceTimeText(int tenths)
{
    return (tenths / 600) * 1000 + ((tenths % 600) / 10) * 10 + tenths % 10;
}

Racer makeRacer(Rng &r, int no, const Meeting &m, const Knobs &k)
{
    Racer x;
    x.no = no;
    x.name = makeName(r, k.privateUse);
    x.term = qBound(50, 60 + (no - 3000) / 22 + r.range(-2, 2), 130);
    x.age = qBound(19, 20 + (5300 - no) / 60 + r.range(-3, 3), 62);
    x.pref = r.range(1, 47);
    x.blood = r.range(1, 4);
    x.weight = r.chance(0.15) ? r.range(47, 57) + 0.5 : r.range(47, 58);
    x.rate = std::round(qBound(1.2, 5.2 + r.normal() * 1.4, 8.6) * 100) / 100;
    x.rate1 = std::round(qBound(1.0, x.rate + r.normal() * 0.5, 8.9) * 100) / 100;
    x.rate2 = std::round(qBound(1.0, x.rate1 + r.normal() * 0.5, 8.9) * 100) / 100;
    x.cls = classOf(x.rate);
    x.cls1 = classOf(x.rate1);
    x.cls2 = classOf(x.rate2);
    x.skill = x.rate;
    x.sinyuK = r.range(1, 6);
    x.flyings = r.chance(0.15) ? 1 : 0;
    x.lates = r.chance(0.05) ? 1 : 0;
    x.runs = r.range(150, 230);
    int left = x.runs;
    for (int p = 0; p < 6; ++p) {
        const double share = qBound(0.02, (p == 0 ? x.rate / 30 : (0.18 - (p - 2.5) * (x.rate - 5) / 60)), 0.5);
        x.places[p] = p == 5 ? left : qMin(left, int(x.runs * share));
        left -= x.places[p];
    }
    x.finals = x.rate > 6 ? r.range(2, 9) : r.range(0, 2);
    x.wins = x.finals ? r.range(0, x.finals / 2) : 0;
    // Places of the last 20 runs: together never more than the 20 runs.
    for (int i = 0, left = 20; i < 3; ++i) {
        x.recent[i] = qBound(0, int(20 * (0.32 - i * 0.05) * x.rate / 5.5 + r.normal()), qMin(8, left));
        left -= x.recent[i];
    }
    x.localRuns = r.chance(0.1) ? 0 : r.range(6, 60);
    x.localTwo = x.localRuns ? qBound(0, int(x.rate * 6 + r.normal() * 8), 90) : 0;
    x.localThree = x.localRuns ? qMin(100.0, x.localTwo + r.range(8, 20)) : 0;
    x.nationTwo = qBound(5, int(x.rate * 6.5 + r.normal() * 4), 80);
    x.nationThree = qMin(95.0, x.nationTwo + r.range(10, 22));
    x.stAvg = r.range(11, 22) / 100.0;
    for (int c = 0; c < 6; ++c) {
        x.courseRuns[c] = r.range(10, 45);
        x.courseWins[c] = qMin(x.courseRuns[c], int(x.courseRuns[c] * (0.5 - c * 0.08) * x.rate / 6 + r.below(3)));
    }
    QDate d = m.start.addDays(-r.range(6, 12));
    for (auto &p : x.past) {
        p.grade = r.chance(0.75) ? 1 : r.range(2, 5);
        const int venue = r.range(1, 24);
        p.label = venueShortName(venue) + gradeName(p.grade);
        p.start = d.addDays(-5);
        const bool won = x.rate > 6 && r.chance(0.2);
        p.history = makeHistory(r, x.skill, r.range(6, 11), won);
        p.note = won ? (k.privateUse ? QString(QChar(0xE034)) : QStringLiteral("優勝"))
                     : r.chance(0.08) ? QStringLiteral("途中帰郷") : QString();
        d = d.addDays(-r.range(8, 20));
    }
    if (x.localRuns) {
        x.local.grade = r.chance(0.8) ? 1 : r.range(2, 5);
        x.local.start = m.start.addDays(-r.range(60, 400));
        x.local.history = makeHistory(r, x.skill, r.range(6, 10), false);
    }
    d = m.start.addDays(m.days + r.range(2, 8));
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && r.chance(0.25))
            break;
        x.next[i].grade = r.chance(0.75) ? 1 : r.range(2, 5);
        x.next[i].start = d;
        x.next[i].label = venueShortName(r.range(1, 24)) + gradeName(x.next[i].grade);
        d = d.addDays(r.range(8, 16));
    }
    for (int &p : x.power)
        p = qBound(20, int(40 + x.rate * 6 + r.normal() * 10), 99);
    return x;
}

Machine makeMachine(Rng &r, int no, const Meeting &m, const Knobs &k, bool motor)
{
    Machine x;
    x.no = no;
    x.power = r.normal() * (motor ? 0.8 : 0.3);
    x.rate = std::round(qBound(2.5, 5.0 + x.power * 1.2 + r.normal() * 0.4, 7.8) * 100) / 100;
    x.two = qBound(10, int(33 + x.power * 12 + r.normal() * 5), 70);
    x.three = qMin(90, int(x.two) + r.range(12, 20));
    x.best = raceTimeText(r.range(1060, 1100));
    x.runs = r.range(60, 200);
    int left = x.runs;
    for (int p = 0; p < 6; ++p) {
        x.places[p] = p == 5 ? left : qMin(left, int(x.runs * r.real(0.12, 0.2)));
        left -= x.places[p];
    }
    x.finals = r.range(0, 4);
    x.wins = x.finals ? r.range(0, 1) : 0;
    for (int i = 0; i < 2; ++i) {
        PrevUser &u = x.prev[i];
        if (i == 1 && r.chance(0.1))
            continue;   // a new machine has only had one user yet
        u.tourokuno = r.range(3000, 5300);
        u.name = makeName(r, k.privateUse);
        u.classCode = r.pick(QList<QString>{"A1", "A2", "B1", "B2"});
        u.weight = r.range(47, 58);
        u.history = makeHistory(r, r.real(3, 7), r.range(5, 10), false);
        u.bestTime = raceTimeText(r.range(1065, 1110));
        u.date = m.start.addDays(-r.range(10, 20) - i * 15);
    }
    return x;
}

void runRace(Rng &r, Race &race, const Meeting &m)
{
    static const std::array<double, 6> courseBonus = {2.0, 0.9, 0.6, 0.4, 0.1, -0.2};
    // Entry courses: mostly the frame, sometimes an outside boat moves in.
    for (int f = 0; f < 6; ++f)
        race.boats[f].course = f + 1;
    if (r.chance(0.2)) {
        const int f = r.range(2, 5);
        std::swap(race.boats[f].course, race.boats[f - 1].course);
    }
    QList<int> pred;
    for (int f = 0; f < 6; ++f) {
        Boat &b = race.boats[f];
        const Racer &x = m.racers[b.racer];
        b.predicted = x.skill + m.motors[x.motor].power + m.boats[x.boat].power + courseBonus[b.course - 1];
        b.tilt = r.chance(0.7) ? -0.5 : r.range(0, 4) * 0.5;
        b.exTime = r.range(55, 92) / 100.0 + 6.0;
        b.startTime = r.range(5, 28);
        pred << f;
    }
    std::stable_sort(pred.begin(), pred.end(),
                     [&](int a, int b) { return race.boats[a].predicted > race.boats[b].predicted; });
    for (int i = 0; i < 6; ++i)
        race.boats[pred[i]].mark = i < 4 ? i + 1 : (i == 4 ? 5 : 0);

    // Exhibition ranks by exhibition time.
    QList<int> ex = {0, 1, 2, 3, 4, 5};
    std::stable_sort(ex.begin(), ex.end(), [&](int a, int b) { return race.boats[a].exTime < race.boats[b].exTime; });
    for (int i = 0; i < 6; ++i)
        race.boats[ex[i]].exRank = i + 1;

    // Finish order, with a rare accident placed last.
    QList<int> order = {0, 1, 2, 3, 4, 5};
    std::array<double, 6> score{};
    for (int f = 0; f < 6; ++f)
        score[f] = race.boats[f].predicted + r.normal() * 1.6;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return score[a] > score[b]; });
    int accident = -1;
    if (r.chance(0.05)) {
        accident = order[r.range(1, 5)];
        order.removeOne(accident);
        Boat &b = race.boats[accident];
        static const std::array<int, 4> codes = {11, 12, 14, 7};
        b.code = codes[r.below(4)];
        if (b.code == 12) {
            b.startTime = r.range(1, 3);
            b.gentenFlag = 1;
            b.genten = 20;
        } else if (b.code == 11) {
            b.gentenFlag = 2;
            b.genten = 10;
        } else if (b.code == 14) {
            b.course = 0;
            b.startTime = 0;
            b.exTime = 0;
            b.exRank = 0;
        }
        // Some disqualifications are late starts, and half of the capsizes and
        // disqualifications are the racer's own fault (the code plus 50). A
        // generator of its own decides, so the rest of the meeting stays as it was.
        Rng fault(quint64(race.no) * 7919 + quint64(b.racer) * 104729 + quint64(b.startTime));
        if (b.code == 11 && fault.chance(0.3)) {
            b.code = 13;
            b.gentenFlag = 1;
        } else if ((b.code == 7 || b.code == 11) && fault.chance(0.5)) {
            b.code += 50;
        }
    }
    int t = r.range(1075, 1115);
    for (int i = 0; i < order.size(); ++i) {
        Boat &b = race.boats[order[i]];
        b.code = i + 1;
        b.raceTime = raceTimeText(t);
        t += r.range(4, 25);
    }
    // Start order among the boats that started.
    QList<int> starters;
    for (int f = 0; f < 6; ++f)
        if (race.boats[f].code != 14)
            starters << f;
    std::stable_sort(starters.begin(), starters.end(),
                     [&](int a, int b) { return race.boats[a].startTime < race.boats[b].startTime; });
    for (int i = 0; i < starters.size(); ++i)
        race.boats[starters[i]].startOrder = i + 1;

    // Payouts from the chances of every combination of starters.
    std::array<double, 6> p{};
    double total = 0;
    for (int f : starters)
        total += (p[f] = std::exp(race.boats[f].predicted * 0.8));
    for (int f : starters)
        p[f] /= total;
    const int a = order[0], b = order[1], c = order[2];
    const double p2 = p[a] * p[b] / (1 - p[a]);
    const double p3 = p2 * p[c] / (1 - p[a] - p[b]);
    int pop2 = 1, pop3 = 1;
    for (int i : starters)
        for (int j : starters) {
            if (i == j)
                continue;
            const double q2 = p[i] * p[j] / (1 - p[i]);
            pop2 += q2 > p2;
            for (int k : starters)
                if (k != i && k != j)
                    pop3 += q2 * p[k] / (1 - p[i] - p[j]) > p3;
        }
    race.pair = QString::number(a + 1) + QString::number(b + 1);
    race.triple = race.pair + QString::number(c + 1);
    race.pay2 = qMax(100, int(std::lround(7.5 / p2)) * 10);
    race.pay3 = qMax(100, int(std::lround(7.5 / p3)) * 10);
    race.pop2 = pop2;
    race.pop3 = pop3;
    static const QStringList dirs = {"北", "北東", "東", "南東", "南", "南西", "西", "北西"};
    race.windDir = r.pick(dirs);
    race.wind = r.range(0, 7);
    race.wave = r.range(1, 8);
    const Boat &winner = race.boats[a];
    static const QStringList moves = {"差し", "まくり", "まくり差し", "抜き"};
    race.move = winner.course == 1 ? QStringLiteral("逃げ") : accident >= 0 && r.chance(0.5) ? QStringLiteral("恵まれ") : r.pick(moves);
}

// Fills the frames of the races of one day.
void programme(Rng &r, Meeting &m, int dayIndex)
{
    Day &day = m.schedule[dayIndex];
    const int dayNo = dayIndex + 1;
    const int kind = paperDayKind(dayNo, m.days);
    for (int i = 0; i < 12; ++i) {
        Race &race = day.races[i];
        race.no = i + 1;
        race.deadline = hhmm(10 * 60 - 5 + 30 * i);
        race.name = kind == 5 ? QStringLiteral("一般戦") : QStringLiteral("予選");
        if (i == 10 && kind != 5)
            race.name = QStringLiteral("特選");
    }
    // Special races first: their racers ride once that day.
    QList<int> taken;
    auto fill = [&](int raceNo, const QList<int> &racers, const QString &name) {
        Race &race = day.races[raceNo - 1];
        race.name = name;
        race.special = true;
        for (int f = 0; f < 6; ++f)
            race.boats[f].racer = racers[f];
        taken += racers;
    };
    if (kind == 1) {
        QList<int> byRate = everyone();
        std::stable_sort(byRate.begin(), byRate.end(), [&](int a, int b) { return m.racers[a].rate > m.racers[b].rate; });
        fill(12, byRate.mid(0, 6), QStringLiteral("ドリーム戦"));
    } else if (kind == 4) {
        const QList<int> top = standing(m, dayNo).mid(0, 18);
        for (int k = 0; k < 3; ++k) {
            QList<int> racers;
            for (int f = 0; f < 6; ++f)
                racers << top[f * 3 + k];
            fill(12 - k, racers, QStringLiteral("準優勝戦"));
        }
    } else if (kind == 5) {
        const Day &semi = m.schedule[dayIndex - 1];
        QList<int> finalists;
        for (int place = 1; place <= 2; ++place)
            for (int k = 9; k < 12; ++k)
                for (const Boat &b : semi.races[k].boats)
                    if (b.code == place && semi.races[k].special)
                        finalists << b.racer;
        for (int x : standing(m, dayNo))   // fill up when a semi-final had an accident
            if (finalists.size() < 6 && !finalists.contains(x))
                finalists << x;
        fill(12, finalists.mid(0, 6), QStringLiteral("優勝戦"));
        day.races[10].name = QStringLiteral("特別選抜");
    }
    const int specials = int(taken.size()) / 6;
    QList<int> rest;
    for (int x : everyone())
        if (!taken.contains(x))
            rest << x;
    r.shuffle(rest);
    // 24 racers ride twice, once in each half of the day; the others once.
    const int regular = 12 - specials;
    const int firstHalf = (regular + 1) / 2;
    const int doubles = regular * 6 - int(rest.size());
    QList<int> half1 = rest.mid(0, doubles), half2 = rest.mid(0, doubles);
    const int singlesFirst = firstHalf * 6 - doubles;
    half1 += rest.mid(doubles, singlesFirst);
    half2 += rest.mid(doubles + singlesFirst);
    r.shuffle(half1);
    r.shuffle(half2);
    for (int i = 0; i < regular; ++i) {
        const QList<int> &src = i < firstHalf ? half1 : half2;
        const int base = (i < firstHalf ? i : i - firstHalf) * 6;
        for (int f = 0; f < 6; ++f)
            day.races[i].boats[f].racer = src[base + f];
    }
}

} // namespace

bool isPlace(int code)
{
    return code >= 1 && code <= 6;
}

int placePoints(int code)
{
    static const std::array<int, 6> pts = {10, 8, 6, 4, 2, 1};
    return isPlace(code) ? pts[code - 1] : 0;
}

double meetingPoints(const Meeting &m, int racer, int beforeDay, int *runs, bool *excluded)
{
    double sum = 0;
    int n = 0;
    bool flying = false;
    for (int d = 0; d < beforeDay && d < m.schedule.size(); ++d) {
        for (const Race &race : m.schedule[d].races) {
            for (const Boat &b : race.boats) {
                if (b.racer != racer || b.code == 14)
                    continue;
                ++n;
                sum += placePoints(b.code) - b.genten;
                flying = flying || b.code == 12;
            }
        }
    }
    if (runs)
        *runs = n;
    if (excluded)
        *excluded = flying;
    return sum;
}

// Racers ordered by points rate over the days before `day`.
QList<int> standing(const Meeting &m, int day)
{
    QList<int> order = everyone();
    QList<double> rate(kRacers);
    for (int i = 0; i < kRacers; ++i) {
        int runs = 0;
        const double p = meetingPoints(m, i, day - 1, &runs, nullptr);
        rate[i] = runs ? p / runs : 0;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (rate[a] != rate[b])
            return rate[a] > rate[b];
        return m.racers[a].rate > m.racers[b].rate;
    });
    return order;
}

Meeting simulateMeeting(int venue, const QDate &start, int days, quint64 seed, const Knobs &knobs)
{
    Meeting m;
    m.venue = venue;
    m.start = start;
    m.days = qBound(3, days, 6);
    m.seed = seed;
    Rng r(seed ^ (quint64(venue) << 40) ^ quint64(start.toJulianDay()) * 1000003ull);
    m.grade = r.chance(0.7) ? 1 : r.range(2, 5);
    m.setuscode = double((start.year() % 100) * 10000 + start.month() * 100 + start.day()) * 100 + venue;
    static const QStringList sponsors = {"さざなみ", "若潮", "春風", "潮騒", "青葉", "みなと", "朝凪", "夕凪", "水都", "白波"};
    const QString sponsor = r.pick(sponsors);
    const QString nth = QString::number(r.range(2, 60));
    static const char *const fw = "０１２３４５６７８９";
    QString wide;
    for (QChar c : nth)
        wide += QString::fromUtf8(fw + 3 * (c.unicode() - '0'), 3);
    switch (m.grade) {
    case 5: m.title = "第" + wide + "回水神王決定戦"; break;
    case 4: m.title = "開設" + wide + "周年記念" + sponsor + "王座"; break;
    case 3: m.title = sponsor + "カップ"; break;
    default: m.title = "第" + wide + "回" + sponsor + "杯"; break;
    }
    if (knobs.commas)
        m.title = "開設記念," + m.title;
    m.subtitle = sponsor + "新聞社賞";
    m.border = std::round(r.real(5.4, 6.4) * 100) / 100;
    m.semiSystem = r.range(0, 3);
    m.newMotors = r.chance(0.1);
    m.newBoats = r.chance(0.1);

    QList<int> numbers;
    while (numbers.size() < kRacers) {
        const int no = r.range(3000, 5300);
        if (!numbers.contains(no))
            numbers << no;
    }
    for (int i = 0; i < kRacers; ++i)
        m.racers << makeRacer(r, numbers[i], m, knobs);
    if (knobs.singleQuote)
        m.racers[0].name = QStringLiteral("大'野") + QChar(0x3000) + QStringLiteral("誠");
    QList<int> motorNos, boatNos;
    for (int i = 1; i <= 60; ++i)
        motorNos << i, boatNos << i;
    r.shuffle(motorNos);
    r.shuffle(boatNos);
    motorNos = motorNos.mid(0, kRacers);
    boatNos = boatNos.mid(0, kRacers);
    std::sort(motorNos.begin(), motorNos.end());
    std::sort(boatNos.begin(), boatNos.end());
    for (int i = 0; i < kRacers; ++i) {
        m.motors << makeMachine(r, motorNos[i], m, knobs, true);
        m.boats << makeMachine(r, boatNos[i], m, knobs, false);
    }
    QList<int> drawM = everyone(), drawB = everyone();
    r.shuffle(drawM);
    r.shuffle(drawB);
    for (int i = 0; i < kRacers; ++i) {
        m.racers[i].motor = drawM[i];
        m.racers[i].boat = drawB[i];
    }
    for (int d = 0; d < m.days; ++d) {
        Day day;
        day.date = start.addDays(d);
        day.tideHigh = (6 * 60 + 13 + d * 50) % (24 * 60);
        day.tideLow = (day.tideHigh + 6 * 60 + 12) % (24 * 60);
        m.schedule << day;
        programme(r, m, d);
        for (Race &race : m.schedule[d].races)
            runRace(r, race, m);
    }
    return m;
}

QString venueShortName(int venue)
{
    static const QStringList names = {
        "桐生", "戸田", "江戸川", "平和島", "多摩川", "浜名湖", "蒲郡", "常滑", "津", "三国", "琵琶湖", "住之江",
        "尼崎", "鳴門", "丸亀", "児島", "宮島", "徳山", "下関", "若松", "芦屋", "福岡", "唐津", "大村"};
    return venue >= 1 && venue <= 24 ? names[venue - 1] : QString();
}

QString gradeName(int grade)
{
    static const QStringList names = {"一般", "ＧⅢ", "ＧⅡ", "ＧⅠ", "ＳＧ"};
    return grade >= 1 && grade <= 5 ? names[grade - 1] : QString();
}

QString yyyymmdd(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("00000000");
}

} // namespace kelmon::sample
