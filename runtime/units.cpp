#include "runtime/units.hpp"

#include <system_error>

namespace korvex::runtime {

namespace {

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

Unit::~Unit() { close(); }

void Unit::close() {
    if (file_) {
        if (std::fclose(file_) != 0) write_failed_ = true;
        file_ = nullptr;
    }
}

bool Unit::open(const std::filesystem::path& path) {
    if (file_) {
        if (same_file(path, path_)) return true;
        close();
    }
    std::FILE* f = std::fopen(path.string().c_str(), "w");
    if (!f) return false;
    file_ = f;
    path_ = path;
    write_failed_ = false;
    return true;
}

void Unit::line(std::string_view text) {
    if (file_) {
        // An empty record may come as a view without storage: nothing to write but its end.
        if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ||
            std::fputc('\n', file_) == EOF)
            write_failed_ = true;
    } else {
        memory_.append(text);
        memory_.push_back('\n');
    }
}

bool Unit::flush() {
    if (file_ && (std::fflush(file_) != 0 || std::ferror(file_))) write_failed_ = true;
    return !write_failed_;
}

void Unit::FreeRecord::put(std::string_view item, bool text) {
    const std::size_t recl = static_cast<std::size_t>(u_.recl_);
    bool sep = !first_ && !(prev_text_ && text);
    // An item that does not fit behind what the record holds starts the next line.
    if (!first_ && cur_.size() > 1 && cur_.size() + (sep ? 1 : 0) + item.size() > recl) {
        u_.line(cur_);
        cur_.assign(1, ' ');
        sep = false;
    }
    if (sep) cur_.push_back(' ');
    // A record breaks only between its items: an item longer than a whole line stands whole on
    // a line of its own, longer than the record length, rather than being cut in two.
    cur_.append(item);
    prev_text_ = text;
    first_ = false;
}

void Unit::FreeRecord::finish() {
    u_.line(first_ ? std::string_view() : std::string_view(cur_));
    cur_.clear();
}

DeckUnit::~DeckUnit() { close(); }

void DeckUnit::close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    in_memory_ = false;
    data_.clear();
    pos_ = 0;
    nread_ = 0;
    beyond_.clear();
    beyond_text_ = false;
}

bool DeckUnit::open(const std::filesystem::path& path) {
    if (file_ && same_file(path, path_)) return true;
    std::error_code ec;
    const auto st = std::filesystem::status(path, ec);
    if (std::filesystem::exists(st)) {
        // A directory or a device is no deck (reading one could fail or never end).
        if (!std::filesystem::is_regular_file(st)) return false;
    } else {
        std::FILE* create = std::fopen(path.string().c_str(), "ab");
        if (!create) return false;
        std::fclose(create);
    }
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    if (!f) return false;
    close();
    file_ = f;
    path_ = path;
    return true;
}

void DeckUnit::set_text(std::string text) {
    close();
    data_ = std::move(text);
    path_.clear();
    in_memory_ = true;
}

void DeckUnit::rewind() {
    if (file_) {
        std::rewind(file_);
    }
    pos_ = 0;
    nread_ = 0;
    beyond_.clear();
    beyond_text_ = false;
}

int DeckUnit::next_byte() {
    if (file_) return std::getc(file_);
    if (in_memory_ && pos_ < data_.size()) return static_cast<unsigned char>(data_[pos_++]);
    return EOF;
}

bool DeckUnit::read(std::string& record) {
    record.assign(RECL, ' ');
    // The first RECL + 1 bytes are kept: a carriage return in column 81 is the one that
    // ends an 80-character line.
    std::size_t len = 0;
    int last = EOF;
    beyond_.clear();
    std::size_t marks = 0;  // characters beyond column 80 other than blanks
    int c = next_byte();
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (len < static_cast<std::size_t>(RECL)) record[len] = static_cast<char>(c);
        else if (beyond_.size() <= BEYOND_KEPT) beyond_.push_back(static_cast<char>(c));
        if (len >= static_cast<std::size_t>(RECL) && c != ' ') ++marks;
        ++len;
        last = c;
        c = next_byte();
    }
    if (last == '\r' && len <= static_cast<std::size_t>(RECL)) record[len - 1] = ' ';
    // The carriage return that ends a longer line is no text beyond column 80.
    if (last == '\r' && len > static_cast<std::size_t>(RECL)) {
        --marks;
        if (len - RECL == beyond_.size()) beyond_.pop_back();
    }
    if (beyond_.size() > BEYOND_KEPT) beyond_.resize(BEYOND_KEPT);
    beyond_text_ = marks > 0;
    ++nread_;
    return true;
}

std::optional<std::string> DeckUnit::read() {
    std::string r;
    if (!read(r)) return std::nullopt;
    return r;
}

}  // namespace korvex::runtime
