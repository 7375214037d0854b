#pragma once

#include <QString>
#include <QStringList>
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

// Resident memory of this process in bytes (0 when unknown).
qint64 residentBytes();

} // namespace benchdata
