#include "runtime/units.hpp"

#include <fstream>
#include <sstream>
#include <system_error>

namespace korvex::runtime {

Unit::~Unit() { close(); }

void Unit::close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool Unit::open(const std::filesystem::path& path) {
    if (file_) {
        std::error_code ec;
        if (path == path_ || std::filesystem::equivalent(path, path_, ec)) return true;
        close();
    }
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    file_ = f;
    path_ = path;
    return true;
}

void Unit::line(std::string_view text) {
    if (file_) {
        std::fwrite(text.data(), 1, text.size(), file_);
        std::fputc('\n', file_);
    } else {
        memory_.append(text);
        memory_.push_back('\n');
    }
}

void Unit::flush() {
    if (file_) std::fflush(file_);
}

void Unit::write_free(const FreeRecord& r) {
    std::string cur = " ";
    bool prev_text = true;  // the leading blank stands in for a separator
    bool first = true;
    for (int i = 0; i < r.n; ++i) {
        std::string piece;
        if (!first && !(prev_text && r.is_text[i])) piece = " ";
        piece += r.parts[i];
        if (!first && static_cast<int>(cur.size() + piece.size()) > recl_ && cur.size() > 1) {
            line(cur);
            cur = " ";
            piece = r.parts[i];
        }
        cur += piece;
        // An item longer than a whole record is cut into records of the record length.
        while (static_cast<int>(cur.size()) > recl_) {
            line(std::string_view(cur).substr(0, recl_));
            cur = " " + cur.substr(recl_);
        }
        prev_text = r.is_text[i];
        first = false;
    }
    line(cur);
}

DeckUnit::~DeckUnit() = default;

bool DeckUnit::open(const std::filesystem::path& path) {
    std::error_code ec;
    if (loaded_ && !path_.empty() && (path == path_ || std::filesystem::equivalent(path, path_, ec)))
        return true;
    if (!std::filesystem::exists(path, ec)) {
        std::ofstream create(path);
        if (!create) return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    data_ = ss.str();
    path_ = path;
    pos_ = 0;
    nread_ = 0;
    loaded_ = true;
    return true;
}

void DeckUnit::set_text(std::string text) {
    data_ = std::move(text);
    path_.clear();
    pos_ = 0;
    nread_ = 0;
    loaded_ = true;
}

std::optional<std::string> DeckUnit::read() {
    if (pos_ >= data_.size()) return std::nullopt;
    std::size_t nl = data_.find('\n', pos_);
    std::size_t end = nl == std::string::npos ? data_.size() : nl;
    std::string_view rec(data_.data() + pos_, end - pos_);
    pos_ = nl == std::string::npos ? data_.size() : nl + 1;
    if (!rec.empty() && rec.back() == '\r') rec.remove_suffix(1);
    std::string out(rec.substr(0, RECL));
    out.resize(RECL, ' ');
    ++nread_;
    return out;
}

}  // namespace korvex::runtime
