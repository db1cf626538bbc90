#pragma once
// Whole jobs as the window runs them: the run control is called again while it reports a
// further page, every page drawn on one recording surface; the sample decks and what their
// headings promise.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/recording_surface.hpp"
#include "run/control.hpp"
#include "runtime/format.hpp"
#include "state/program.hpp"

namespace e2e {

namespace fs = std::filesystem;

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// A fixed date, so that two jobs can be compared character for character.
inline korvex::runtime::DateTime fixed_date() { return {2005, 4, 8, 12, 0, 0, 0}; }

struct Job {
    std::unique_ptr<korvex::Program> p = std::make_unique<korvex::Program>();
    korvex::platform::RecordingSurface page{1008, 700};
    std::vector<korvex::device::LetteringBox> lettering;
    int pages = 0;

    explicit Job(const std::string& deck) {
        p->clock = fixed_date;
        p->units.u55.set_text(deck);
        p->device.surface = &page;
        p->device.ISIZEX = 1008;
        p->device.ISIZEY = 700;
        p->device.lettering = &lettering;
    }

    // One pass through the deck: paints until the run control reports no further page. A job
    // that keeps asking for pages is cut off, so that a fault shows as a failure, not a hang.
    void run(int max_pages = 50) {
        for (int i = 0; i < max_pages; ++i) {
            korvex::run::run_control(*p);
            ++pages;
            if (p->run.NEWDIA == 0) return;
        }
    }

    int nfail() const { return p->run.NFAIL; }
    const std::string& u6() const { return p->units.u6.text(); }
    const std::string& u8() const { return p->units.u8.text(); }
    const std::string& u9() const { return p->units.u9.text(); }
};

inline std::unique_ptr<Job> run_job(const std::string& deck) {
    auto j = std::make_unique<Job>(deck);
    j->run();
    return j;
}

struct Example {
    fs::path path;
    std::string deck;
    int stated = -1;   // the error number the heading promises, -1 when it says none
};

// Every deck of `folder` (below the source tree) with the error number its "***" heading
// states.
inline std::vector<Example> decks_in(const char* folder) {
    const std::regex stated(R"(^\*\*\*.*[Ee]nds with error number (\d+)\.)");
    std::vector<Example> out;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVEX_SOURCE_DIR) / folder)) {
        if (entry.path().extension() != ".dat") continue;
        Example e{entry.path(), read_file(entry.path())};
        for (const auto& l : lines_of(e.deck)) {
            if (l.rfind("***", 0) != 0) break;
            std::smatch m;
            if (std::regex_search(l, m, stated)) e.stated = std::stoi(m[1]);
        }
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const Example& a, const Example& b) { return a.path < b.path; });
    return out;
}

// The sample decks.
inline std::vector<Example> examples() { return decks_in("examples"); }

// The sample decks and the test decks: what every invariant of a whole job runs over.
inline std::vector<Example> all_decks() {
    auto out = decks_in("examples");
    for (auto& e : decks_in("tests/decks")) out.push_back(std::move(e));
    return out;
}

// How often `what` stands in `text`.
inline std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Records of a listing that show a number that could not be written: a NaN or an infinity (as
// the batch program judges them), or a field of asterisks (a value too wide for its edit
// descriptor). Deck lines echoed into the listing are left out.
inline std::vector<std::string> bad_numbers(const std::string& listing) {
    // Two or more asterisks that are neither a power ("cm**3") nor inside a word.
    static const std::regex stars(R"((^|[^A-Za-z*])\*\*+([^0-9A-Za-z*]|$))");
    std::vector<std::string> bad;
    for (const auto& l : lines_of(listing)) {
        if (l.find("ZEILE") != std::string::npos) continue;   // deck echo
        if (korvex::runtime::shows_non_finite(l) || std::regex_search(l, stars)) bad.push_back(l);
    }
    return bad;
}

// ---- Page check ------------------------------------------------------------------------------
// What every page must hold: every point drawn and every piece of lettering lies on the page (the device pulls a point beyond
// the right or lower edge to 5 pixels inside it and leaves negative ones as they are, so such
// points stand out), no two diagrams' axis rectangles overlap, and every curve, ideal frame and
// isotherm (the polylines of a page) lies inside the axis rectangle of one of its diagrams, and
// no legend entry stands over another one or inside a diagram.

struct AxisLine {
    korvex::platform::Point start, end;   // the axis runs from start (its origin) to end
};

// The axes among the primitives: an axis is drawn from its far end back to its start, with a
// tick mark out and back at every centimetre on the way: a move to the far end, then lines in
// threes (tick, mark, tick), the ticks on one straight line across or up the page.
inline std::vector<AxisLine> axis_lines(const std::vector<korvex::platform::RecordingSurface::Op>& ops) {
    using Kind = korvex::platform::RecordingSurface::Kind;
    std::vector<AxisLine> out;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].kind != Kind::Move) continue;
        const auto far = ops[i].p;
        std::size_t j = i + 1;
        std::vector<korvex::platform::Point> ticks;
        while (j + 2 < ops.size() && ops[j].kind == Kind::Line && ops[j + 1].kind == Kind::Line &&
               ops[j + 2].kind == Kind::Line && ops[j].p == ops[j + 2].p) {
            ticks.push_back(ops[j].p);
            j += 3;
        }
        if (ticks.size() < 2) continue;
        const bool across = std::all_of(ticks.begin(), ticks.end(), [&](auto t) { return t.y == far.y; });
        const bool up = std::all_of(ticks.begin(), ticks.end(), [&](auto t) { return t.x == far.x; });
        if (across == up) continue;
        out.push_back({ticks.back(), far});
        i = j - 1;
    }
    return out;
}

struct Box {
    int left, top, right, bottom;
    // Whether the boxes overlap, or, with a gap, come closer than that.
    bool over(const Box& o, int gap = 0) const {
        return left < o.right + gap && o.left < right + gap && top < o.bottom + gap && o.top < bottom + gap;
    }
};

// The faults of the lettering of one page: boxes off the page, legend entries over each other
// or over an axis rectangle, texts inside the axes (names, keys, labels) over each other.
inline void lettering_faults(const std::vector<korvex::device::LetteringBox>& all, int page, int width, int height,
                             const std::vector<Box>& axes, std::vector<std::string>& faults) {
    std::vector<Box> legends, inside;
    for (const auto& l : all) {
        if (l.page != page) continue;
        const Box b{l.left, l.top, l.right, l.bottom};
        const std::string at = "page " + std::to_string(page) + " (" + std::to_string(b.left) + ", " + std::to_string(b.top) + ")";
        if (b.left < 0 || b.top < 0 || b.right > width || b.bottom > height) faults.push_back("lettering off the " + at);
        const bool in_axes = std::any_of(axes.begin(), axes.end(), [&](const Box& a) {
            return b.left >= a.left && b.right <= a.right && b.top >= a.top && b.bottom <= a.bottom;
        });
        // Lettering of a diagram stands at its origin; the closing lettering of a job at the page's.
        if (l.kind == korvex::device::Lettering::text && in_axes && l.origin_x > 0) {
            for (const Box& o : inside)
                if (o.over(b)) faults.push_back("texts over each other inside a diagram at " + at);
            inside.push_back(b);
        }
        if (l.kind != korvex::device::Lettering::legend) continue;
        for (const Box& o : legends)   // entries one above the other, never touching
            if (o.over(b, 1)) faults.push_back("legend entries over each other at " + at);
        for (const Box& o : axes)
            if (o.over(b)) faults.push_back("legend entry inside a diagram at " + at);
        legends.push_back(b);
    }
}

// The faults of the pages drawn on one recording surface of width by height pixels: points off
// the page, polylines outside every axis rectangle of their page, and the faults of the
// lettering recorded on the way. A page ends with its page mark, the only rectangle a page holds.
inline std::vector<std::string> page_faults(const std::vector<korvex::platform::RecordingSurface::Op>& all,
                                            int width, int height,
                                            const std::vector<korvex::device::LetteringBox>& lettering = {}) {
    using Kind = korvex::platform::RecordingSurface::Kind;
    using korvex::platform::Point;
    std::vector<std::string> faults;
    auto where = [](int page, Point q) {
        return "page " + std::to_string(page) + " (" + std::to_string(q.x) + ", " + std::to_string(q.y) + ")";
    };
    auto on_page = [&](Point q) { return q.x >= 0 && q.y >= 0 && q.x < width - 5 && q.y < height - 5; };
    std::vector<korvex::platform::RecordingSurface::Op> ops;
    int page = 1;
    for (std::size_t k = 0; k <= all.size(); ++k) {
        if (k < all.size() && all[k].kind != Kind::Rectangle) {
            ops.push_back(all[k]);
            continue;
        }
        // One page: its axis rectangles from the x axes and the ordinate axes that share their
        // origin.
        std::vector<Box> boxes;
        const auto axes = axis_lines(ops);
        for (const auto& x : axes) {
            if (x.start.y != x.end.y || x.end.x <= x.start.x) continue;
            for (const auto& y : axes)
                if (y.start == x.start && y.start.x == y.end.x && y.end.y < y.start.y) {
                    boxes.push_back({x.start.x, y.end.y, x.end.x, x.start.y});
                    break;   // one box a diagram, however many axes stand on its origin
                }
        }
        for (std::size_t a = 0; a < boxes.size(); ++a)
            for (std::size_t b = a + 1; b < boxes.size(); ++b)
                if (boxes[a].left < boxes[b].right && boxes[b].left < boxes[a].right &&
                    boxes[a].top < boxes[b].bottom && boxes[b].top < boxes[a].bottom)
                    faults.push_back("diagrams over each other at " + where(page, {boxes[b].left, boxes[b].bottom}));
        for (const auto& op : ops) {
            if (op.kind == Kind::Polyline) {
                const bool inside = std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) {
                    return std::all_of(op.points.begin(), op.points.end(), [&](Point q) {
                        return q.x >= b.left - 1 && q.x <= b.right + 1 && q.y >= b.top - 1 && q.y <= b.bottom + 1;
                    });
                });
                if (!inside && !op.points.empty())
                    faults.push_back("curve outside every diagram, from " + where(page, op.points.front()));
                for (Point q : op.points)
                    if (!on_page(q)) {
                        faults.push_back("curve point off the page at " + where(page, q));
                        break;
                    }
            } else if ((op.kind == Kind::Move || op.kind == Kind::Line || op.kind == Kind::Text) && !on_page(op.p)) {
                faults.push_back("point off the page at " + where(page, op.p));
            }
        }
        lettering_faults(lettering, page, width, height, boxes, faults);
        if (k < all.size() && std::none_of(ops.begin(), ops.end(), [](const auto& op) { return op.kind == Kind::Polyline || op.kind == Kind::Line; }))
            faults.push_back("page " + std::to_string(page) + " holds nothing but its page mark");
        ops.clear();
        ++page;
    }
    return faults;
}

}  // namespace e2e
