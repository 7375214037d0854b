#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>

namespace fb { class Attachment; }

namespace benchdata {

// Sizes of the generated data; read from the command line with
// --entries N --stations N --programs N (per station) --employees N --seed N.
struct Sizes {
    int stations = 20;
    int programsPerStation = 8;
    int employees = 30;
    int entries = 100000;
    std::uint32_t seed = 20080305;
};
Sizes parseSizes(const QStringList& args, Sizes defaults = Sizes());

// Small deterministic generator (same sequence on every machine).
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
    std::uint32_t next() {
        // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return n > 0 ? int(next() % std::uint32_t(n)) : 0; }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    std::uint32_t state_;
};

// A realistic subject of a clipping entry, in Portuguese with accents.
QString subject(Random& rng);

// Fills stations, programs, employees and entries (codes from 1, the
// generators set past them). Entries are appended after any existing ones
// when firstEntry > 1. Returns the number of entries written.
int generate(fb::Attachment& attachment, const Sizes& sizes, int firstEntry = 1);
// Adds entries only (stations, programs and employees must exist).
int addEntries(fb::Attachment& attachment, const Sizes& sizes, int firstEntry, int count);

// Fills each register table (stations, programs, employees, sellers, media,
// payment forms and terms, clients) up to rows rows, codes after the highest
// one, generators set past them. Returns the number of rows written.
int fillRegisters(fb::Attachment& attachment, int rows, std::uint32_t seed);

// Turns the database's forced (synchronous) writes on or off; the file must
// not be open elsewhere. Off while generating, back on for the measures.
void setForcedWrites(const QString& database, bool on);

// Resident memory of this process in bytes (0 when unknown).
qint64 residentBytes();
// Highest resident memory of this process so far, in bytes.
qint64 peakResidentBytes();

// Command-line values: "--name value"; fallback when absent.
QString argText(const QStringList& args, const QString& name, const QString& fallback = QString());
int argInt(const QStringList& args, const QString& name, int fallback);

// Best (lowest) of runs calls of f, which returns milliseconds.
template <typename F> double best(int runs, F f) {
    double b = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double v = f();
        if (v < b) b = v;
    }
    return b;
}

// One figure of the suite on one line:
//   name: ratio  (details)  [target]
// ratio is the layer's time over the raw client's on the same work.
void figure(const char* name, double ratio, const QString& details, const char* target = nullptr);
// An absolute figure without a raw counterpart: name: value unit (details).
void measure(const char* name, double value, const char* unit, const QString& details);

// An executable folder for an existing database: BaseClipping.ini pointing
// at it, Skin.ini, skins/ and Relatorios/, removed when it goes.
class ExecutableFolder {
public:
    explicit ExecutableFolder(const QString& database);
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

} // namespace benchdata
