#pragma once
// Inner model of the sample-paper generator: one simulated meeting with its
// racers, motors, boats, daily programmes and race results. The paper of any
// day is written from it, so consecutive days of one meeting agree.

#include "samplepaper.h"

#include <array>
#include <cmath>

namespace kelmon::sample {

// Small deterministic generator (xorshift64*), the same on every platform.
class Rng {
public:
    explicit Rng(quint64 seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) { next(); }
    quint64 next()
    {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return s * 2685821657736338717ull;
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    double real() { return double(next() >> 11) / double(1ull << 53); }
    double real(double lo, double hi) { return lo + (hi - lo) * real(); }
    bool chance(double p) { return real() < p; }
    double normal()
    {
        const double u = qMax(1e-12, real());
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * real());
    }
    template <typename T> const T &pick(const QList<T> &list) { return list[below(int(list.size()))]; }
    template <typename T> void shuffle(QList<T> &list)
    {
        for (qsizetype i = list.size() - 1; i > 0; --i)
            list.swapItemsAt(i, below(int(i + 1)));
    }

private:
    quint64 s;
};

struct PastMeeting {
    int grade = 1;
    QString label;    // venue and grade, e.g. 戸田一般
    QString note;
    QString history;  // run-history string of three-character units
    QDate start;
};

struct PrevUser {
    int tourokuno = 0;
    QString name;
    QString classCode;
    int weight = 0;
    QString history;
    int bestTime = 0;
    QDate date;
};

struct Racer {
    int no = 0;
    QString name;
    int term = 0, pref = 0, age = 0, blood = 0;
    double weight = 0;
    QString cls, cls1, cls2;
    double rate = 0, rate1 = 0, rate2 = 0;
    double skill = 0;
    int motor = 0;   // index into Meeting::motors
    int boat = 0;    // index into Meeting::boats
    int sinyuK = 1;
    int flyings = 0, lates = 0;
    // national record of the last year
    std::array<int, 6> places{};
    int runs = 0, finals = 0, wins = 0;
    std::array<int, 3> recent{};  // 1st, 2nd, 3rd places of the last 20 runs
    int localRuns = 0;
    double localTwo = 0, localThree = 0, nationTwo = 0, nationThree = 0;
    double stAvg = 0.15;
    std::array<int, 6> courseRuns{}, courseWins{};
    PastMeeting past[3];
    PastMeeting local;            // last meeting at this venue (no start: never raced here)
    PastMeeting next[3];          // next assignments
    std::array<int, 5> power{};   // 技量 Ｓ力 機力 当地 近況
};

struct Machine {       // a motor or a boat
    int no = 0;
    double power = 0;
    double rate = 0, two = 0, three = 0;
    int best = 0;
    std::array<int, 6> places{};
    int runs = 0, finals = 0, wins = 0;
    PrevUser prev[2];
};

struct Boat {          // one frame of a race
    int racer = -1;
    int course = 0;       // entry course, 0 when absent
    int code = 0;         // result code: 1..6 places, 7.. accidents
    int startTime = 0;    // hundredths
    int startOrder = 0;
    int raceTime = 0;     // m ss t as a number, 0 when none
    double tilt = 0;
    double exTime = 0;
    int exRank = 0;
    int genten = 0, gentenFlag = 0;
    int mark = 0;         // prediction mark code
    double predicted = 0;
};

struct Race {
    int no = 0;
    QString name;
    QString deadline;     // HHMM
    std::array<Boat, 6> boats;
    bool special = false;
    // result
    QString pair, triple;
    int pay2 = 0, pay3 = 0, pop2 = 0, pop3 = 0;
    QString windDir, move, development;
    int wind = 0, wave = 0;
};

struct Day {
    QDate date;
    std::array<Race, 12> races;
    int tideHigh = 0, tideLow = 0;   // minutes after midnight
};

struct Meeting {
    int venue = 1;
    QDate start;
    int days = 6;
    int grade = 1;
    double setuscode = 0;
    QString title, subtitle;
    double border = 6.0;
    int semiSystem = 0;
    bool newMotors = false, newBoats = false;
    QList<Racer> racers;
    QList<Machine> motors, boats;
    QList<Day> schedule;
    quint64 seed = 0;
};

struct Knobs {
    bool privateUse = true;
    bool commas = true;
    bool singleQuote = false;
};

// Builds and simulates a whole meeting.
Meeting simulateMeeting(int venue, const QDate &start, int days, quint64 seed, const Knobs &knobs);

// Race result helpers shared by the writers.
int placePoints(int code);
bool isPlace(int code);
// Points won by a racer on the days before day `beforeDay + 1` (days 1..beforeDay),
// with the number of runs and whether a flying start excludes him from prizes.
double meetingPoints(const Meeting &m, int racer, int beforeDay, int *runs, bool *excluded);
// Racers (indexes) ordered by points rate over the days before `day`.
QList<int> standing(const Meeting &m, int day);

// The thirteen tables of day n of the meeting, in registration order.
QList<SamplePaperTable> paperTables(const Meeting &m, int day, const Knobs &knobs);

// Texts shared by the simulation and the writers.
QString venueShortName(int venue);
QString gradeName(int grade);
QString yyyymmdd(const QDate &d);

} // namespace kelmon::sample
