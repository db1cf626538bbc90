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
    Unit(int number, int recl) : number_(number), recl_(recl) {}
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
        std::string s;
        (s.append(std::string_view(pieces)), ...);
        line(s);
    }

    // A free-format record: a leading blank, then the items in order; a blank separates two
    // items unless both are texts. Integers plainly, reals compactly. A record longer than the
    // unit's record length continues on a new line that begins with a blank.
    template <class... T>
    void free(const T&... items) {
        FreeRecord r;
        (r.add(items), ...);
        write_free(r);
    }

    // What was written while the unit was not opened on a file (for tests).
    const std::string& text() const { return memory_; }
    void clear_text() { memory_.clear(); }

    void flush();

    struct FreeRecord {
        std::string parts[64];
        bool is_text[64] = {};
        int n = 0;
        void push(std::string s, bool text) {
            if (n < 64) { parts[n] = std::move(s); is_text[n] = text; ++n; }
        }
        void add(std::string_view s) { push(std::string(s), true); }
        void add(const std::string& s) { push(s, true); }
        void add(const char* s) { push(std::string(s), true); }
        void add(char c) { push(std::string(1, c), true); }
        template <std::integral V>
        void add(V v) { push(free_item(static_cast<long long>(v)), false); }
        void add(double v) { push(free_item(v), false); }
        void add(float v) { push(free_item(v), false); }
    };

private:
    void write_free(const FreeRecord& r);
    int number_;
    int recl_;
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::string memory_;
};

// The input deck: records of exactly 80 characters.
class DeckUnit {
public:
    static constexpr int RECL = 80;
    DeckUnit() = default;
    ~DeckUnit();
    DeckUnit(const DeckUnit&) = delete;
    DeckUnit& operator=(const DeckUnit&) = delete;

    // Opens the deck; a missing file is created empty. Opening it again on the same file keeps
    // the position. Returns false when the file cannot be opened or created.
    bool open(const std::filesystem::path& path);
    // A deck held in memory (tests, fuzzing).
    void set_text(std::string text);
    bool is_open() const { return loaded_; }
    const std::filesystem::path& path() const { return path_; }

    // The next record: blank-padded or cut to 80 characters, a trailing carriage return
    // dropped; every other byte is an ordinary character. No value at end of file.
    std::optional<std::string> read();
    void rewind() { pos_ = 0; }
    // Number of records read since the last rewind.
    long long records_read() const { return nread_; }

private:
    std::filesystem::path path_;
    std::string data_;
    std::size_t pos_ = 0;
    long long nread_ = 0;
    bool loaded_ = false;
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

    void flush() { u6.flush(); u8.flush(); u9.flush(); }
};

}  // namespace korvex::runtime
