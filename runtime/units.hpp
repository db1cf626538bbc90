#pragma once
// Units and records: the listing files 6, 8, 9 and the input deck 55.
#include <concepts>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "runtime/format.hpp"

namespace korvex::runtime {

// A listing unit. Records are written whole, each ending in a newline. Until it is opened on a
// file, a unit keeps what is written in memory (tests read it with text()).
class Unit {
public:
    Unit(int number, int recl) : number_(number), recl_(recl < 2 ? 2 : recl) {}
    ~Unit();
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    // Opens the unit on a file. A file that exists is written over from its start; opening the
    // unit again on the file it is connected to keeps it connected and keeps its position.
    // Returns false when the file cannot be opened.
    bool open(const std::filesystem::path& path);
    bool is_open() const { return file_ != nullptr; }
    const std::filesystem::path& path() const { return path_; }
    void close();

    int number() const { return number_; }
    int recl() const { return recl_; }

    // One record, written as it stands (its first character is the carriage control).
    void line(std::string_view text);

    // A record of fixed layout: the pieces concatenated (strings, I(), F(), E(), A()).
    template <class... P>
    void record(const P&... pieces) {
        scratch_.clear();
        (scratch_.append(std::string_view(pieces)), ...);
        line(scratch_);
    }

    // A free-format record: a leading blank, then the items in order; a blank separates two
    // items unless both are texts. Integers plainly, reals compactly. A record longer than the
    // unit's record length breaks between two items: the item that does not fit begins a new
    // line (with a blank); an item longer than a whole line stands whole on its own line.
    // Without items, an empty record.
    template <class... T>
    void free(const T&... items) {
        FreeRecord r(*this);
        (r.add(items), ...);
        r.finish();
    }

    // What was written while the unit was not opened on a file (for tests).
    const std::string& text() const { return memory_; }
    void clear_text() { memory_.clear(); }

    // Hands what is buffered to the file; false when a record could not be written since the
    // unit was opened.
    bool flush();
    bool good() const { return !write_failed_; }

    // Builds a free-format record item by item and writes it, wrapped, on finish().
    class FreeRecord {
    public:
        explicit FreeRecord(Unit& u) : u_(u), cur_(u.scratch_) { cur_.assign(1, ' '); }
        FreeRecord(const FreeRecord&) = delete;
        FreeRecord& operator=(const FreeRecord&) = delete;

        void add(std::string_view s) { put(s, true); }
        void add(const std::string& s) { put(s, true); }
        void add(const char* s) { put(s ? std::string_view(s) : std::string_view(), true); }
        void add(char c) { put(std::string_view(&c, 1), true); }
        template <std::integral V>
        void add(V v) {
            u_.item_.clear();
            append_free_item(u_.item_, static_cast<long long>(v));
            put(u_.item_, false);
        }
        void add(double v) {
            u_.item_.clear();
            append_free_item(u_.item_, v);
            put(u_.item_, false);
        }
        void add(float v) { add(static_cast<double>(v)); }
        void finish();

    private:
        void put(std::string_view item, bool text);
        Unit& u_;
        std::string& cur_;
        bool first_ = true;
        bool prev_text_ = true;
    };

private:
    int number_;
    int recl_;
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    bool write_failed_ = false;
    std::string memory_;
    // Reused for every record, so that writing a record allocates nothing once warm.
    std::string scratch_;
    std::string item_;
};

// The input deck: records of exactly 80 characters, read from the file as they come (a later
// pass after a rewind sees the file as it is then).
class DeckUnit {
public:
    static constexpr int RECL = 80;
    DeckUnit() = default;
    ~DeckUnit();
    DeckUnit(const DeckUnit&) = delete;
    DeckUnit& operator=(const DeckUnit&) = delete;

    // Opens the deck; a missing file is created empty. Opening it again on the same file keeps
    // the position. Returns false when the file cannot be opened or created, or when the path
    // names something other than a plain file.
    bool open(const std::filesystem::path& path);
    // A deck held in memory (tests, fuzzing).
    void set_text(std::string text);
    bool is_open() const { return file_ != nullptr || in_memory_; }
    const std::filesystem::path& path() const { return path_; }
    void close();

    // The next record: blank-padded or cut to 80 characters, a trailing carriage return
    // dropped; every other byte is an ordinary character. No value at end of file.
    std::optional<std::string> read();
    // The same into a buffer the caller keeps; false at end of file (the buffer is then blank).
    bool read(std::string& record);
    void rewind();
    // Number of records read since the last rewind.
    long long records_read() const { return nread_; }
    // What stood beyond column 80 in the last record read (a carriage return ending it dropped),
    // at most BEYOND_KEPT characters of it; empty when the record ended at column 80 or before.
    const std::string& beyond() const { return beyond_; }
    // Whether anything but blanks stood beyond column 80 in the last record read.
    bool beyond_text() const { return beyond_text_; }
    static constexpr std::size_t BEYOND_KEPT = 80;

private:
    int next_byte();
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::string data_;
    std::size_t pos_ = 0;
    bool in_memory_ = false;
    long long nread_ = 0;
    std::string beyond_;
    bool beyond_text_ = false;
};

// The four units of a program and the listing detail levels that decide what they get.
struct Units {
    Unit u6{6, 80};
    Unit u8{8, 133};
    Unit u9{9, 133};
    DeckUnit u55;

    // IPRNT2: the units digit of IPRNT; detail level k is on when IPRNT2 >= k.
    int IPRNT2 = 0;
    bool level(int k) const { return IPRNT2 >= k; }

    // A note for the user besides the listings: written to unit 6 and handed to the note sink,
    // which a shell sets to show it as well (the batch shell writes it on standard error).
    using NoteSink = void (*)(void* ctx, std::string_view text);
    NoteSink note_sink = nullptr;
    void* note_ctx = nullptr;
    void note(std::string_view text) {
        u6.line(text);
        if (note_sink) note_sink(note_ctx, text);
    }

    // False when a listing could not be written.
    bool flush() {
        const bool a = u6.flush(), b = u8.flush(), c = u9.flush();
        return a && b && c;
    }
};

}  // namespace korvex::runtime
