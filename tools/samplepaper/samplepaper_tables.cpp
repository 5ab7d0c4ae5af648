// The thirteen paper files of one day of a simulated meeting, record by
// record, with every value placed by its column name in the table layout.

#include "samplepaper_p.h"

#include "common/paper_schema.h"

#include <QMutex>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace kelmon::sample {

namespace {

// One record of a table, every field at its default ("0" for numbers, empty
// for texts) until set by name.
class Rec {
public:
    explicit Rec(const char *table) : t(findTable(table)), cols(indexOf(t))
    {
        fields.reserve(qsizetype(t->columnCount) + 1);
        for (const auto &c : t->cols())
            fields << (c.kind == 'N' ? QStringLiteral("0") : QString());
    }
    Rec &n(const char *col, double v) { return s(col, number(v)); }
    Rec &f(const char *col, double v, int decimals) { return s(col, QString::number(v, 'f', decimals)); }
    Rec &s(const char *col, const QString &v)
    {
        const auto it = cols.find(col);
        if (it == cols.end())
            qFatal("sample paper: no column %s in %s", col, t->name);
        fields[it->second] = v;
        return *this;
    }
    static QString number(double v)
    {
        if (v == std::floor(v) && std::abs(v) < 1e15)
            return QString::number(qint64(v));
        QString s = QString::number(v, 'f', 2);
        while (s.endsWith('0'))
            s.chop(1);
        return s;
    }
    QStringList fields;

private:
    using Index = std::unordered_map<std::string, int>;
    static const Index &indexOf(const PaperTable *t)
    {
        static QMutex lock;
        static std::unordered_map<const PaperTable *, Index> all;
        QMutexLocker locker(&lock);
        auto it = all.find(t);
        if (it == all.end()) {
            Index idx;
            int i = 0;
            for (const auto &c : t->cols())
                idx.emplace(c.name, i++);
            it = all.emplace(t, std::move(idx)).first;
        }
        return it->second;
    }
    const PaperTable *t;
    const Index &cols;
};

// What one racer has done in the meeting before the paper's day, and what
// he rides on that day.
struct RacerDay {
    int runs = 0;
    std::array<int, 6> places{};
    double points = 0, rate = 0;
    bool excluded = false;
    int rank = 0;
    double stSum = 0, orderSum = 0, exSum = 0, exRankSum = 0;
    int starts = 0, exhibitions = 0;
    QString seiseki = QString(120, ' '), st = QString(108, ' '), tenji = QString(60, ' ');
    int todayRace[2] = {0, 0}, todayFrame[2] = {0, 0};
    int top2 = 0, top3 = 0, pay2 = 0, pay3 = 0;
};

struct Ctx {
    const Meeting &m;
    int day;
    int kind;
    const Knobs &k;
    QList<RacerDay> rd;
    QList<int> order;   // standing before the day
};

QString circled(const Knobs &k, int frame)
{
    return QString(QChar((k.privateUse ? 0xE000 : 0x2460) + frame - 1));
}

void put(QString &packed, int slot, int width, const QString &text)
{
    packed.replace(slot * width, width, text.leftJustified(width, ' ', true));
}

Ctx collect(const Meeting &m, int day, const Knobs &k)
{
    Ctx c{m, day, paperDayKind(day, m.days), k, QList<RacerDay>(m.racers.size()), standing(m, day)};
    for (int d = 0; d < day && d < m.schedule.size(); ++d) {
        QList<int> ridesToday(m.racers.size(), 0);
        for (const Race &race : m.schedule[d].races) {
            for (int f = 0; f < 6; ++f) {
                const Boat &b = race.boats[f];
                RacerDay &x = c.rd[b.racer];
                const int slot = 2 * d + ridesToday[b.racer]++;
                const QString head = QString::asprintf("%02d%d", race.no, race.special ? 1 : 0);
                if (d == day - 1) {
                    x.todayRace[slot - 2 * d] = race.no;
                    x.todayFrame[slot - 2 * d] = f + 1;
                    put(x.seiseki, slot, 10, head + "0000000");
                    continue;
                }
                put(x.seiseki, slot, 10, head + QString::asprintf("0%02d%04d", b.code, isPlace(b.code) ? b.raceTime : 0));
                put(x.st, slot, 9, QString::asprintf("%02d%d%02d%d%d%02d", race.no, f + 1, b.code, b.course, b.startOrder, b.startTime));
                if (b.code == 14)
                    continue;
                put(x.tenji, slot, 5, QString::asprintf("%02d%02d%d", race.no, int(std::lround((b.exTime - 6) * 100)), b.exRank));
                ++x.runs;
                if (isPlace(b.code))
                    ++x.places[b.code - 1];
                x.stSum += b.startTime / 100.0;
                x.orderSum += b.startOrder;
                x.exSum += b.exTime;
                x.exRankSum += b.exRank;
                ++x.starts;
                ++x.exhibitions;
                if (b.code == 1 || b.code == 2)
                    ++x.top2, x.pay2 += race.pay2;
                if (b.code >= 1 && b.code <= 3)
                    ++x.top3, x.pay3 += race.pay3;
            }
        }
    }
    for (int i = 0; i < m.racers.size(); ++i) {
        RacerDay &x = c.rd[i];
        int runs = 0;
        x.points = meetingPoints(m, i, day - 1, &runs, &x.excluded);
        x.rate = runs ? std::round(x.points / runs * 100) / 100 : 0;
    }
    for (int i = 0; i < c.order.size(); ++i)
        c.rd[c.order[i]].rank = i + 1;
    return c;
}

int ridesToday(const RacerDay &x)
{
    return (x.todayRace[0] ? 1 : 0) + (x.todayRace[1] ? 1 : 0);
}

int pointsNeeded(const Ctx &c, const RacerDay &x)
{
    if (c.kind >= 4)
        return x.rank <= 18 ? 0 : 99;
    const int today = ridesToday(x);
    const double need = std::ceil(c.m.border * (x.runs + today) - x.points);
    if (need <= 0)
        return 0;
    return need > 10 * today ? 99 : int(need);
}

QString monthDay(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("MMdd")) : QString();
}

void wakusRecord(const Ctx &c, const Race &race, int f, QList<QStringList> &out)
{
    const Meeting &m = c.m;
    const Boat &b = race.boats[f];
    const Racer &x = m.racers[b.racer];
    const RacerDay &d = c.rd[b.racer];
    const Machine &mo = m.motors[x.motor];
    const Machine &bo = m.boats[x.boat];
    Rec w("f_wakus");
    w.n("setuscode", m.setuscode).n("datescnt", c.day).n("racesno", race.no).n("wakusno", f + 1);
    w.n("tourokuno", x.no).n("yososno", b.mark).s("sensyname", x.name).s("seiseki_ks", d.seiseki);
    w.n("tourokuki", x.term).n("adress", x.pref).n("age", x.age).n("blood", x.blood).n("Weight", x.weight);
    w.n("sinyu_k", x.sinyuK).n("syuso_kk_f", x.flyings).n("syuso_kk_l1", x.lates).n("flag_ns", 2);
    w.s("classcode_2k", x.cls2).f("syoritu_2k", x.rate2, 2).s("classcode_1k", x.cls1).f("syoritu_1k", x.rate1, 2);
    w.s("classcode_ge", x.cls).f("syoritu_ge", x.rate, 2).f("syoritu_ns", qMax(0.0, x.rate - 0.3), 2);
    w.n("flag_nf", 4).n("syuso_to_all", x.localRuns).n("fukuritu_to", x.localTwo).n("fukuritu_ge", x.nationTwo);
    w.n("fukuritu_nf", x.localTwo).n("fukuritu_to_3", x.localThree).n("fukuritu_ge_3", x.nationThree);
    w.n("fukuritu_nf_3", x.localThree).n("yusyu_zk", x.finals).n("yusyo_zk", x.wins);
    static const char *const zk[] = {"syuso_zk_1", "syuso_zk_2", "syuso_zk_3"};
    static const char *const zr[] = {"syurt_zk_1", "syurt_zk_2", "syurt_zk_3"};
    static const char *const nd[] = {"syuso_nd_1", "syuso_nd_2", "syuso_nd_3"};
    static const char *const nr[] = {"syurt_nd_1", "syurt_nd_2", "syurt_nd_3"};
    const int halfRuns = x.runs / 2;
    for (int i = 0; i < 3; ++i) {
        w.n(zk[i], x.places[i]).f(zr[i], x.places[i] * 100.0 / x.runs, 1);
        w.n(nd[i], x.places[i] / 2).f(nr[i], (x.places[i] / 2) * 100.0 / halfRuns, 1);
    }
    w.n("syuso_zk_all", x.runs).n("flag_nd", 3).n("yusyu_ny", x.finals / 2).n("yusyo_ny", x.wins / 2).n("syuso_nd_all", halfRuns);
    const int mine = race.no == d.todayRace[0] ? 0 : 1;
    w.n("hayami_r", d.todayRace[1 - mine]).n("hayami_w", d.todayFrame[1 - mine]);
    static const char *const zg[] = {"gradecode_z1", "gradecode_z2", "gradecode_z3"};
    static const char *const zd[] = {"racesdisp_z1", "racesdisp_z2", "racesdisp_z3"};
    static const char *const zn[] = {"ketujyo_z1", "ketujyo_z2", "ketujyo_z3"};
    static const char *const zs[] = {"seiseki_z1", "seiseki_z2", "seiseki_z3"};
    static const char *const ag[] = {"gradecode_a1", "gradecode_a2", "gradecode_a3"};
    static const char *const ad[] = {"s_date_a1", "s_date_a2", "s_date_a3"};
    static const char *const al[] = {"racesdisp_a1", "racesdisp_a2", "racesdisp_a3"};
    for (int i = 0; i < 3; ++i) {
        w.n(zg[i], x.past[i].grade).s(zd[i], x.past[i].label).s(zn[i], x.past[i].note).s(zs[i], x.past[i].history);
        if (x.next[i].start.isValid())
            w.n(ag[i], x.next[i].grade).s(ad[i], yyyymmdd(x.next[i].start)).s(al[i], x.next[i].label);
    }
    if (x.local.start.isValid())
        w.n("gradecode_zt", x.local.grade).s("s_date_zt", x.local.start.toString("yyMM")).s("seiseki_zt", x.local.history);
    w.n("motorno", mo.no).f("syoritu_mt", mo.rate, 2).n("fukuritu_mt", mo.two).n("yusyu_mt", mo.finals).n("yusyo_mt", mo.wins);
    w.n("syuso_mt_1", mo.places[0]).n("syuso_mt_2", mo.places[1]).n("syuso_mt_3", mo.places[2]).n("syuso_mt_all", mo.runs);
    w.n("kryok_de", mo.power > 0.6 ? 1 : mo.power > 0 ? 2 : mo.power > -0.6 ? 4 : 6).n("kryok_nb", mo.two >= 40 ? 2 : 4);
    w.n("firsttime_mt", mo.best);
    static const char *const mu[2][6] = {
        {"sensyname_m1", "classcode_m1", "weight_m1", "seiseki_m1", "firsttime_m1", "tourokuno_m1"},
        {"sensyname_m2", "classcode_m2", "weight_m2", "seiseki_m2", "firsttime_m2", "tourokuno_m2"}};
    for (int i = 0; i < 2; ++i) {
        const PrevUser &u = mo.prev[i];
        if (!u.tourokuno)
            continue;
        w.s(mu[i][0], u.name).s(mu[i][1], u.classCode).n(mu[i][2], u.weight).s(mu[i][3], u.history);
        w.n(mu[i][4], u.bestTime).n(mu[i][5], u.tourokuno);
    }
    w.n("boatsno", bo.no).f("syoritu_bt", bo.rate, 2).n("fukuritu_bt", bo.two).n("yusyu_bt", bo.finals).n("yusyo_bt", bo.wins);
    w.n("syuso_bt_1", bo.places[0]).n("syuso_bt_2", bo.places[1]).n("syuso_bt_3", bo.places[2]).n("syuso_bt_all", bo.runs);
    static const char *const bu[2][4] = {{"sensyname_b1", "s_date_b1", "seiseki_b1", "tourokuno_b1"},
                                         {"sensyname_b2", "s_date_b2", "seiseki_b2", "tourokuno_b2"}};
    for (int i = 0; i < 2; ++i) {
        const PrevUser &u = bo.prev[i];
        if (u.tourokuno)
            w.s(bu[i][0], u.name).s(bu[i][1], monthDay(u.date)).s(bu[i][2], u.history).n(bu[i][3], u.tourokuno);
    }
    w.n("flag_c1", 1).n("flag_c2", 4);
    for (int i = 0; i < 6; ++i) {
        const std::string n = std::to_string(i + 1);
        w.n(("syuso_c1_" + n).c_str(), x.courseRuns[i]).n(("syure_c1_" + n).c_str(), x.courseWins[i]);
        w.n(("syuso_c2_" + n).c_str(), x.courseRuns[i] / 3).n(("syure_c2_" + n).c_str(), x.courseWins[i] / 3);
    }
    w.n("syotnflag", d.excluded ? 1 : 0).n("syuso_hj", ridesToday(d)).n("hituten_ks", pointsNeeded(c, d));
    w.n("tokujun_ks", d.rank).f("tokuritu_ks", d.rate, 2);
    static const int courses[6][2] = {{1, 2}, {3, 4}, {5, 6}, {1, 6}, {1, 4}, {3, 6}};
    w.n("sinyu_s", courses[x.sinyuK - 1][0]).n("sinyu_e", courses[x.sinyuK - 1][1]);
    w.f("st_avg", x.stAvg, 2).f("hj1_ks_avg", d.starts ? d.orderSum / d.starts : 0, 1);
    w.s("st_ks", d.st).s("tenjitime_ks", d.tenji);
    w.f("st_ks_avg", d.starts ? d.stSum / d.starts : 0, 2).f("tenji_ks_avg", d.exhibitions ? d.exSum / d.exhibitions : 0, 2);
    w.f("tenjun_ks_avg", d.exhibitions ? d.exRankSum / d.exhibitions : 0, 1);
    static const char *const power[] = {"giryosisu", "sryoksisu", "kryoksisu", "toutisisu", "kikyosisu"};
    int total = 0;
    for (int i = 0; i < 5; ++i) {
        total += x.power[i];
        w.s(power[i], i == 3 && !x.localRuns ? QStringLiteral("--") : QString::number(x.power[i]));
    }
    w.s("wakussisu", QString::number(qBound(10, 95 - f * 12 + b.mark, 99))).n("flag_ss", c.kind);
    w.s("ninnisisu", c.day == 1 ? QStringLiteral("--") : QString::number(qBound(10, 50 + int(d.rate * 5), 99)));
    w.s("totalsisu", QString::number(total / 5));
    if (race.no == 1 && f == 0)
        w.s("Memo", c.k.commas ? QStringLiteral("前検気配上々,足色良好") : QStringLiteral("前検気配上々"));
    else if (race.no == 2 && f == 0)
        w.s("Memo", (c.k.privateUse ? QString(QChar(0xE034)) : QStringLiteral("優勝")) + QStringLiteral("経験あり"));
    else if (b.mark == 1)
        w.s("Memo", QStringLiteral("本命"));
    out << w.fields;
}

} // namespace

QList<SamplePaperTable> paperTables(const Meeting &m, int day, const Knobs &k)
{
    const Ctx c = collect(m, day, k);
    const Day &today = m.schedule[day - 1];
    QList<SamplePaperTable> tables;
    for (const auto &t : allTables()) {
        if (*t.file)
            tables << SamplePaperTable{QString::fromLatin1(t.name), QString::fromLatin1(t.file), {}};
    }
    auto rows = [&tables](const char *name) -> QList<QStringList> & {
        for (auto &t : tables)
            if (t.table == QLatin1String(name))
                return t.records;
        qFatal("sample paper: no table %s", name);
    };

    rows("f_setus") << Rec("f_setus").n("setuscode", m.setuscode).n("kyosocode", m.venue).s("s_date", yyyymmdd(m.start))
                           .s("racesword", m.title).s("f_setus_x04", m.subtitle).n("datescnt", m.days)
                           .n("gradecode", m.grade).f("bordrcnt", m.border, 2).n("yusyuflag", m.semiSystem).fields;

    static const QStringList kyusei = {"一白", "二黒", "三碧", "四緑", "五黄", "六白", "七赤", "八白", "九紫"};
    static const QStringList rokuyo = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
    static const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    static const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    const qint64 jd = today.date.toJulianDay();
    const int cycle = int((jd + 49) % 60);
    // The data room's ranking kind: first-day best 15, the points standing on
    // the qualifying days, a semi-final best 12 or 15 (by the meeting), last-day best 15.
    const int semiKind = m.semiSystem % 2 ? 4 : 3;
    const int lunks = c.kind == 1 ? 1 : c.kind <= 3 ? 2 : c.kind == 4 ? semiKind : 5;
    rows("f_setfg") << Rec("f_setfg").n("kyosocode", m.venue).n("setuscode", m.setuscode).n("datescnt", day)
                           .s("Date", yyyymmdd(today.date)).s("kyuse", kyusei[int(jd % 9)]).s("rokki", rokuyo[int(jd % 6)])
                           .s("zikkan", stems.mid(cycle % 10, 1)).s("eto", stems.mid(cycle % 10, 1) + branches.mid(cycle % 12, 1))
                           .s("time_08", QString::asprintf("%02d%02d", today.tideHigh / 60, today.tideHigh % 60))
                           .s("time_10", QString::asprintf("%02d%02d", today.tideLow / 60, today.tideLow % 60))
                           .n("mtnewflag", m.newMotors).n("btnewflag", m.newBoats).n("lunksflag", lunks).fields;

    for (const Race &race : today.races) {
        rows("f_races") << Rec("f_races").n("setuscode", m.setuscode).n("datescnt", day).n("racesno", race.no)
                               .s("racesname", race.name).s("time_1", race.deadline).fields;
        for (int f = 0; f < 6; ++f)
            wakusRecord(c, race, f, rows("f_wakus"));
    }

    // Results of the earlier days.
    bool firstResult = true;
    for (int d = 0; d < day - 1; ++d) {
        for (const Race &race : m.schedule[d].races) {
            const int w = race.pair[0].digitValue(), s = race.pair[1].digitValue();
            const QString arrow = k.privateUse ? QString(QChar(0xE00E)) : QStringLiteral("→");
            QString dev = circled(k, w) + race.move + arrow + circled(k, s) + QStringLiteral("追走");
            if (firstResult && k.commas)
                dev = circled(k, w) + race.move + "," + circled(k, s) + QStringLiteral("続く");
            firstResult = false;
            rows("f_resta") << Rec("f_resta").n("setuscode", m.setuscode).n("datescnt", d + 1).n("racesno", race.no)
                                   .s("Date", yyyymmdd(m.schedule[d].date)).s("racesname", race.name)
                                   .s("renban_2ta", race.pair).n("haikin_2ta", race.pay2).n("ninkido_2ta", race.pop2)
                                   .s("renban_3ta", race.triple).n("haikin_3ta", race.pay3).n("ninkido_3ta", race.pop3)
                                   .s("kazemuki", race.windDir).n("kazesoku", race.wind).n("nami", race.wave)
                                   .s("kimarite", race.move).s("tenkai", dev).fields;
            for (int f = 0; f < 6; ++f) {
                const Boat &b = race.boats[f];
                rows("f_restb") << Rec("f_restb").n("setuscode", m.setuscode).n("datescnt", d + 1).n("racesno", race.no)
                                       .n("wakusno", f + 1).n("tourokuno", m.racers[b.racer].no)
                                       .s("sensyname", m.racers[b.racer].name).n("cyakucode", b.code).n("yososno", b.mark)
                                       .n("sinyuno", b.course).n("starttime", b.startTime)
                                       .n("racestime", isPlace(b.code) ? b.raceTime : 0).f("chilt", b.tilt, 1)
                                       .f("tenjitime", b.exTime, 2).n("gentenflag", b.gentenFlag).n("genten", b.genten).fields;
            }
        }
    }

    // The paper's predictions for the day.
    static const QStringList comments = {"気配良", "伸び型", "出足良", "仕上り急", "調整一息", "行き足上々", "展開待ち"};
    static const QStringList styles = {"114", "123", "132", "141", "150", "213", "222", "231", "240", "312", "321", "330", "411", "420", "510"};
    static const QStringList words = {"混戦", "激戦", "波乱", "小波乱", "穴気配", "本命戦"};
    Rng r(m.seed * 31 + quint64(day));
    for (const Race &race : today.races) {
        QString marks, panel, line;
        QList<int> byMark = {0, 1, 2, 3, 4, 5};
        std::stable_sort(byMark.begin(), byMark.end(),
                         [&](int a, int b) { return race.boats[a].predicted > race.boats[b].predicted; });
        for (int f = 0; f < 6; ++f) {
            marks += QString::number(race.boats[f].mark);
            panel += QString::number(byMark.indexOf(f) + 1);
            line += QString::number(r.below(3));
        }
        const int fav = byMark[0] + 1, second = byMark[1] + 1;
        Rec y("f_yosos");
        y.n("setuscode", m.setuscode).n("datescnt", day).n("racesno", race.no);
        y.s("yosos_1", marks).s("yosos_2", panel).s("yosos_3", line).s("Style", r.pick(styles));
        static const char *const sunpyo[] = {"sunpyo_1", "sunpyo_2", "sunpyo_3", "sunpyo_4", "sunpyo_5", "sunpyo_6"};
        for (int f = 0; f < 6; ++f) {
            QString text = r.pick(comments);
            if (k.privateUse && race.boats[f].mark == 1)
                text = QString(QChar(0xE03C + race.boats[f].course - 1)) + QStringLiteral("から");
            if (race.no == 1 && f == 0 && k.commas)
                text = QStringLiteral("出足良,伸び上々");
            y.s(sunpyo[f], text);
        }
        const QString raceLabel = k.privateUse ? QString(QChar(0xE064 + race.no - 1)) : QString::number(race.no) + "ﾚｰｽ";
        const QString boatLabel = k.privateUse ? QString(QChar(0xE046 + second - 1)) : QString::number(second) + "号艇";
        const QString ideo(QChar(0x3000));
        y.s("yososword_1", ideo + raceLabel + QStringLiteral("は") + circled(k, fav) + QStringLiteral("中心"));
        y.s("yososword_2", (race.no % 2 ? ideo : QString()) + QStringLiteral("対抗は") + boatLabel);
        y.s("yososword_3", QStringLiteral("穴は") + circled(k, byMark[4] + 1) + QStringLiteral("の一撃"));
        y.s("yososword_4", fav == 1 ? QStringLiteral("イン逃げ") : QStringLiteral("外枠攻勢"));
        y.s("yososword_5", race.pop3 > 60 ? words[2] : race.boats[fav - 1].predicted > 8 ? words[5] : r.pick(words));
        rows("f_yosos") << y.fields;
    }

    // Points table of the qualifying days: what-if rates for the places of
    // the racer's races of the day (second race by row, first by column).
    if (lunks == 2) {
        for (int rank = 1; rank <= c.order.size(); ++rank) {
            const int i = c.order[rank - 1];
            const RacerDay &d = c.rd[i];
            Rec t("f_tokhm");
            t.n("setuscode", m.setuscode).n("datescnt", day).n("tokujun_ks", rank).f("tokuritu_ks", d.rate, 2);
            t.s("sensyname", m.racers[i].name).n("hayami_1", d.todayRace[0]).n("hayami_2", d.todayRace[1]);
            const auto &cols = findTable("f_tokhm")->cols();
            const int two = d.todayRace[1] ? 1 : 0;
            for (int a = 0; a < 7; ++a)
                for (int b = 0; b < 7; ++b) {
                    if (!two && a > 0)
                        continue;
                    const double pts = d.points + placePoints(b + 1) + (two ? placePoints(a + 1) : 0);
                    t.f(cols[8 + 7 * a + b].name, pts / (d.runs + 1 + two), 2);
                }
            t.fields << QString::number(m.racers[i].no);   // the file's 58th field
            rows("f_tokhm") << t.fields;
        }
    }

    // The day's ranking for the data room.
    QList<int> rankingOrder = c.order;
    if (lunks != 2) {
        auto two = [&](int i) { return m.racers[i].recent[0] + m.racers[i].recent[1]; };
        std::stable_sort(rankingOrder.begin(), rankingOrder.end(), [&](int a, int b) { return two(a) > two(b); });
        rankingOrder = rankingOrder.mid(0, lunks == 3 ? 12 : 15);
    }
    for (int pos = 1; pos <= rankingOrder.size(); ++pos) {
        const int i = rankingOrder[pos - 1];
        const Racer &x = m.racers[i];
        const RacerDay &d = c.rd[i];
        Rec l("f_lunks");
        l.n("setuscode", m.setuscode).n("datescnt", day).n("lunkscode", pos).n("tourokuno", x.no).s("sensyname", x.name);
        if (lunks == 2) {
            l.n("syuso_all", d.points).n("syuso_1", d.runs).n("syotnflag", d.excluded).f("tokuritu_ks", d.rate, 2);
            l.n("fukuritu", d.runs ? (d.places[0] + d.places[1]) * 100 / d.runs : 0);
            l.n("fukuritu_3", d.runs ? (d.places[0] + d.places[1] + d.places[2]) * 100 / d.runs : 0);
        } else {
            l.n("syuso_all", 20).n("syuso_1", x.recent[0]).n("syuso_2", x.recent[1]).n("syuso_3", x.recent[2]);
            l.n("fukuritu", (x.recent[0] + x.recent[1]) * 5).n("fukuritu_3", (x.recent[0] + x.recent[1] + x.recent[2]) * 5);
        }
        // On the semi-final day the second column holds the frame of the racer's (first) race.
        const bool semi = lunks == 3 || lunks == 4;
        l.n("hayami_1", d.todayRace[0]).n("hayami_2", semi ? d.todayFrame[0] : d.todayRace[1]);
        rows("f_lunks") << l.fields;
    }

    // Racers, payout returns, motors and boats, by registration number and machine number.
    QList<int> byNumber = c.order;
    std::sort(byNumber.begin(), byNumber.end(), [&](int a, int b) { return m.racers[a].no < m.racers[b].no; });
    for (int i : byNumber) {
        const Racer &x = m.racers[i];
        const RacerDay &d = c.rd[i];
        const Machine &mo = m.motors[x.motor];
        const Machine &bo = m.boats[x.boat];
        Rec rr("f_racer");
        rr.n("setuscode", m.setuscode).n("datescnt", day).n("tourokuno", x.no).s("sensyname", x.name).n("adress", x.pref);
        rr.n("tourokuki", x.term).n("Weight", x.weight).s("classcode_ge", x.cls).f("syoritu_ge", x.rate, 2);
        rr.n("fukuritu_ge", x.nationTwo).n("motorno", mo.no).f("syoritu_mt", mo.rate, 2).n("fukuritu_mt", mo.two);
        rr.n("fukuritu_mt_3", mo.three).n("boatsno", bo.no).f("syoritu_bt", bo.rate, 2).n("fukuritu_bt", bo.two);
        rr.n("fukuritu_bt_3", bo.three).n("hayami_1", d.todayRace[0]).n("hayami_2", d.todayRace[1]);
        for (int p = 0; p < 6; ++p) {
            const std::string n = std::to_string(p + 1);
            rr.n(("syuso_zk_" + n).c_str(), x.places[p]).n(("syuso_ks_" + n).c_str(), d.places[p]);
        }
        rr.n("syuso_zk_all", x.runs).f("syoritu_zk", x.rate, 2).n("fukuritu_zk", x.nationTwo);
        rr.n("fukuritu_zk_3", x.nationThree).n("yusyu_zk", x.finals).n("yusyo_zk", x.wins).n("syuso_ks_all", d.runs);
        rr.f("st_ks_avg", d.starts ? d.stSum / d.starts : 0, 2).f("hj1_ks_avg", d.starts ? d.orderSum / d.starts : 0, 1);
        rr.f("tenji_ks_avg", d.exhibitions ? d.exSum / d.exhibitions : 0, 2);
        rr.f("tenjun_ks_avg", d.exhibitions ? d.exRankSum / d.exhibitions : 0, 1);
        rows("f_racer") << rr.fields;

        Rec ka("f_kasyu");
        ka.n("setuscode", m.setuscode).n("datescnt", day).n("tourokuno", x.no).s("sensyname", x.name);
        // The last 120 days: about a third of the year's runs, this meeting's included.
        const int starts = x.runs / 3 + d.runs;
        const int top2 = (x.places[0] + x.places[1]) / 3 + d.top2;
        const int top3 = (x.places[0] + x.places[1] + x.places[2]) / 3 + d.top3;
        Rng back(m.seed * 131 + quint64(x.no));
        const double rate2 = starts ? std::round((back.real(5, 140) * top2 / starts * 3 + d.pay2 / 100.0) * 10) / 10 : 0;
        const double rate3 = starts ? std::round((back.real(3, 160) * top3 / starts * 2 + d.pay3 / 100.0) * 10) / 10 : 0;
        ka.n("syuso_2t", starts).n("syure_2t", top2).f("kaisyuritu_2t", rate2, 1);
        ka.n("syuso_3t", starts).n("syure_3t", top3).f("kaisyuritu_3t", rate3, 1);
        ka.n("hayami_1", d.todayRace[0]).n("hayami_2", d.todayRace[1]);
        rows("f_kasyu") << ka.fields;
    }
    for (int kind = 0; kind < 2; ++kind) {
        const QList<Machine> &list = kind ? m.boats : m.motors;
        for (int j = 0; j < list.size(); ++j) {
            const Machine &mc = list[j];
            int user = 0;
            for (int i = 0; i < m.racers.size(); ++i)
                if ((kind ? m.racers[i].boat : m.racers[i].motor) == j)
                    user = i;
            Rec r2(kind ? "f_boats" : "f_motor");
            r2.n("setuscode", m.setuscode).n("datescnt", day).n(kind ? "boatsno" : "motorno", mc.no);
            r2.f("syoritu", mc.rate, 2).n("fukuritu", mc.two).n("fukuritu_3", mc.three).n("firsttime", mc.best);
            for (int p = 0; p < 6; ++p)
                r2.n(("syuso_" + std::to_string(p + 1)).c_str(), mc.places[p]);
            r2.n("syuso_all", mc.runs).n("yusyu", mc.finals).n("yusyo", mc.wins);
            r2.n("tourokuno", m.racers[user].no).s("sensyname", m.racers[user].name);
            rows(kind ? "f_boats" : "f_motor") << r2.fields;
        }
    }
    return tables;
}

} // namespace kelmon::sample
