// The catalogue of plottable quantities and the diagram-name checks.
#include "diagrams/catalogue.hpp"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/format.hpp"

namespace korvex::diagrams {

namespace {

using F = simulation::PairField;

struct ClassEntry {
    std::string_view unit;
    std::string_view first;
    std::string_view delta;
};

// Base names of the per-pair block, k = 1..139.
constexpr std::array<std::string_view, NPAIRQ> BASE_NAME{
    "HE", "VE", "DVE", "ME", "DME", "HC", "VC", "DVC",
    "MC", "DMC", "MR", "DMR", "VG", "DVG", "P", "T1",
    "DAE", "DAC", "DA", "DPS", "DUE", "DUC", "DURE", "DURC",
    "DUREC", "DUR", "DQZU", "DQAB", "DQGN", "DQNUZ", "DQNZD", "DQDAF",
    "VGDPS", "PS", "PGES", "DS1", "DS3", "DS2", "DQD", "T3",
    "T2", "V", "QZU", "QAB", "A", "QGN", "QTS1", "QTS3",
    "QTS2", "QURE", "QURC", "QUREC", "QUR", "QNUZD", "QDAMF", "WORK",
    "S1", "S3", "S2", "SDM", "SDD", "BETA", "DSD", "QREZU",
    "DREZU", "QRCAB", "DRCAB", "QH2OE", "QH2OC", "DQH2O", "DT2", "TE",
    "TC", "QUTR", "QUE", "QUC", "AE", "AC", "QUTE", "QUME",
    "QUTC", "QUMC", "QNUZG", "DTE", "DTC", "DTR", "QUMR", "DUMR",
    "DUTR", "DUME", "DUTE", "DUMC", "DUTC", "DREH", "TR", "DPGES",
    "GDE", "GDC", "GDR", "DP", "VGDP", "PFE", "PFK", "TEMTC",
    "DVLQH", "DVLQC", "DVLHM", "DVLCM", "DMY1", "DMY2", "DMY3", "DMY4",
    "TW2E", "TW2C", "QGASE", "QGASC", "QWE", "QWC", "QLUFE", "QLUFC",
    "DQGSE", "DQGSC", "DQWE", "DQWC", "ALPAE", "ALPAC", "DQLUE", "DQLUC",
    "XNUE", "XNUC", "RENOL", "RCNOL", "TREGE", "TREGC", "TGASE", "TGASC",
    "DMTE", "H2OME", "VDR",
};

// Dimension class of each per-pair quantity, k = 1..139.
constexpr std::array<std::int8_t, NPAIRQ> PAIR_CLASS{
    13, 6, 18, 9, 19, 13, 6, 18, 9, 19, 9, 19, 6, 18, 7, 1,
    10, 10, 10, 27, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10,
    10, 7, 7, 3, 3, 3, 11, 1, 1, 6, 11, 11, 11, 11, 11, 11,
    11, 11, 11, 11, 11, 11, 11, 11, 2, 2, 2, 9, 8, 25, 2, 11,
    10, 11, 10, 11, 11, 10, 26, 1, 1, 11, 11, 11, 11, 11, 11, 11,
    11, 11, 11, 26, 26, 26, 11, 10, 10, 10, 10, 10, 10, 4, 1, 27,
    8, 8, 8, 27, 10, 4, 4, 1, 28, 28, 28, 28, 29, 29, 30, 30,
    1, 1, 11, 11, 11, 11, 11, 11, 10, 10, 10, 10, 31, 31, 10, 10,
    32, 32, 33, 33, 1, 1, 1, 1, 9, 9, 28,
};

// Names of the global quantities, positions 557..705 (blank-padded to six).
constexpr std::array<std::string_view, NGLOBAL> GLOBAL_NAME{
    "DUMMY1", "DUMMY2", "DUMMY3", "DUMMY4", "DUMMY5", "DUMMY6", "PHI1  ", "PHI2  ",
    "KU1   ", "KU2   ", "CANGLE", "W     ", "DWDT  ", "RPM   ", "F1243 ", "F3412 ",
    "VE1243", "VE3412", "C2BI  ", "C2BII ", "POWER ", "ATHETA", "ARBEIT", "AKOL  ",
    "QNUTZ ", "QT1S1 ", "QT3S3 ", "QT2S2 ", "QGNUTZ", "QNUTZD", "QZU   ", "QAB   ",
    "QUREC ", "QREGR ", "A12   ", "QN12  ", "QTS112", "QTS312", "QTS212", "QGN12 ",
    "QNZD12", "QUEC12", "QUR12 ", "QZU12 ", "QAB12 ", "DQNZ12", "DQZU12", "DQAB12",
    "QH2OE ", "DA12  ", "DR12  ", "SCHUB1", "DAKLI ", "A34   ", "DA34  ", "DWEG1 ",
    "QN34  ", "QTS134", "QTS334", "QTS234", "QGN34 ", "QNZD34", "QUEC34", "QUR34 ",
    "QZU34 ", "QAB34 ", "DQNZ34", "DQZU34", "DQAB34", "QH2OC ", "DWEG2 ", "DR34  ",
    "SCHUB2", "DAKLII", "DWORKN", "DAKOLN", "ZHKUI ", "ZHKUII", "MHKW  ", "VALL  ",
    "DAKOL ", "DATETA", "DREHMO", "WEG1  ", "WEG2  ", "HRVE  ", "HRVC  ", "QUE   ",
    "QUC   ", "QUTR  ", "DRU1  ", "DRU2  ", "TIME  ", "UI    ", "UII   ", "BI    ",
    "BII   ", "QH2O  ", "POWERU", "VWORK ", "ARBETN", "DWORK ", "POWERN", "DR1234",
    "DRNTZ1", "DRNTZ2", "DRNUTZ", "VALLI ", "VALLII", "DWORK1", "DWORK2", "FRESI ",
    "FRESII", "VPRES1", "PRES1 ", "QZU1MX", "VIDEAL", "DIEXP ", "QIEXP ", "DICOMP",
    "QICOMP", "WORKNN", "AKOLN ", "AKOLU ", "AKOLUN", "VWORKU", "AFSEAL", "DAFSE1",
    "DAFSE2", "AC2B  ", "DAC2B1", "DAC2B2", "AZHKU ", "DAZHK1", "DAZHK2", "FI12  ",
    "FI43  ", "FII34 ", "FII12 ", "DRI12 ", "DRI43 ", "DRII34", "DRII12", "DRI   ",
    "DRII  ", "DRIII ", "DRU1M2", "PPUMPH", "PPUMPC",
};

// Dimension class of each global quantity, positions 557..705.
constexpr std::array<std::int8_t, NGLOBAL> GLOBAL_CLASS{
    5, 5, 5, 5, 5, 5, 14, 14, 15, 15, 15, 20, 21, 22, 12, 12,
    12, 12, 12, 12, 17, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11,
    11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 10, 10, 10,
    11, 10, 4, 12, 10, 11, 10, 23, 11, 11, 11, 11, 11, 11, 11, 11,
    11, 11, 10, 10, 10, 11, 23, 4, 12, 10, 10, 10, 12, 12, 19, 12,
    10, 10, 4, 13, 13, 13, 13, 11, 11, 11, 4, 4, 16, 23, 23, 24,
    24, 11, 17, 11, 11, 10, 17, 4, 4, 4, 4, 12, 12, 10, 10, 12,
    12, 7, 7, 11, 6, 10, 11, 10, 11, 11, 11, 11, 11, 11, 11, 10,
    10, 11, 10, 10, 11, 10, 10, 12, 12, 12, 12, 4, 4, 4, 4, 4,
    4, 4, 4, 17, 17,
};

// The per-pair fields in block order; must equal 0, 1, 2, ... (checked below).
constexpr std::array<std::size_t, NPAIRQ> FIELD_OF_K{
    F::HE, F::VE, F::DVE, F::ME, F::DME, F::HC,
    F::VC, F::DVC, F::MC, F::DMC, F::MR, F::DMR,
    F::VG, F::DVG, F::P, F::T1, F::DAE, F::DAC,
    F::DA, F::DPS, F::DUE, F::DUC, F::DURE, F::DURC,
    F::DUREC, F::DUR, F::DQZU, F::DQAB, F::DQGN, F::DQNUZ,
    F::DQNZD, F::DQDAF, F::VGDPS, F::PS, F::PGES, F::DS1,
    F::DS3, F::DS2, F::DQD, F::T3, F::T2, F::V,
    F::QZU, F::QAB, F::A, F::QGN, F::QTS1, F::QTS3,
    F::QTS2, F::QURE, F::QURC, F::QUREC, F::QUR, F::QNUZD,
    F::QDAMF, F::WORK, F::S1, F::S3, F::S2, F::SDM,
    F::SDD, F::BETA, F::DSD, F::QREZU, F::DREZU, F::QRCAB,
    F::DRCAB, F::QH2OE, F::QH2OC, F::DQH2O, F::DT2, F::TE,
    F::TC, F::QUTR, F::QUE, F::QUC, F::AE, F::AC,
    F::QUTE, F::QUME, F::QUTC, F::QUMC, F::QNUZG, F::DTE,
    F::DTC, F::DTR, F::QUMR, F::DUMR, F::DUTR, F::DUME,
    F::DUTE, F::DUMC, F::DUTC, F::DREH, F::TR, F::DPGES,
    F::GDE, F::GDC, F::GDR, F::DP, F::VGDP, F::PFE,
    F::PFK, F::TEMTC, F::DVLQH, F::DVLQC, F::DVLHM, F::DVLCM,
    F::DMY1, F::DMY2, F::DMY3, F::DMY4, F::TW2E, F::TW2C,
    F::QGASE, F::QGASC, F::QWE, F::QWC, F::QLUFE, F::QLUFC,
    F::DQGSE, F::DQGSC, F::DQWE, F::DQWC, F::ALPAE, F::ALPAC,
    F::DQLUE, F::DQLUC, F::XNUE, F::XNUC, F::RENOL, F::RCNOL,
    F::TREGE, F::TREGC, F::TGASE, F::TGASC, F::DMTE, F::H2OME,
    F::VDR,
};

// Unit text (12 characters) and the two scale keywords of each class.
constexpr std::array<ClassEntry, NCLASS> CLASS_TABLE{{
    {"KELVIN      ", "T(F)=", "T(D)="},
    {"WATT * SEC/K", "S(F)=", "S(D)="},
    {"WATT * SEC/K", "DS(F)=", "DS(D)="},
    {"NEWTON*METER", "PFK(F)=", "PFK(D)="},
    {"DUMMY       ", "DMY(F)=", "DMY(D)="},
    {"CM**3       ", "VK(F)=", "VK(D)="},
    {"BAR         ", "P(F)=", "P(D)="},
    {"GRAMM/LITER ", "DI(F)=", "DI(D)="},
    {"GRAMM       ", "M(F)=", "M(D)="},
    {"WATT        ", "DQ(F)=", "DQ(D)="},
    {"WATT * SEC  ", "Q(F)=", "Q(D)="},
    {"NEWTON      ", "PU1(F)=", "PU1(D)="},
    {"CM          ", "H(F)=", "H(D)="},
    {"BOGENMASS   ", "ARC(F)=", "ARC(D)="},
    {"WINKELGRAD  ", "ANG(F)=", "ANG(D)="},
    {"SEC         ", "TME(F)=", "TME(D)="},
    {"WATT        ", "PW(F)=", "PW(D)="},
    {"CM**3 / SEC ", "DV(F)=", "DV(D)="},
    {"GRAMM / SEC ", "DM(F)=", "DM(D)="},
    {"1/SEC       ", "W(F)=", "W(D)="},
    {"1/SEC**2    ", "DW(F)=", "DW(D)="},
    {"U/MIN       ", "RPM(F)=", "RPM(D)="},
    {"CM/SEC      ", "U(F)=", "U(D)="},
    {"CM/SEC**2   ", "B(F)=", "B(D)="},
    {"-           ", "BTA(F)=", "BTA(D)="},
    {"KELVIN/SEC  ", "DT(F)=", "DT(D)="},
    {"BAR/SEC     ", "DP(F)=", "DP(D)="},
    {"LITER/SEC   ", "VLI(F)=", "VLI(D)="},
    {"Dummy12.n   ", "DMY12F=", "DMY12D="},
    {"Dummy34.n   ", "DMY34F=", "DMY34D="},
    {"W*S/(K*m**2)", "ALP(F)=", "ALP(D)="},
    {"--          ", "NUS(F)=", "NUS(D)="},
    {"---         ", "REY(F)=", "REY(D)="},
}};

// Names of part-engine 2 that a run with fewer part-engines still delivers.
constexpr std::array<std::string_view, 47> PART2_ALWAYS{
    "VC2   ", "VE2   ", "DVC2  ", "DVE2  ", "DVG2  ", "VG2   ", "TC2   ", "TE2   ",
    "DMR2  ", "DMC2  ", "DME2  ", "MR2   ", "MC2   ", "ME2   ", "QTS22 ", "QTS12 ",
    "QGN2  ", "QNUZG2", "QNUZD2", "QAB2  ", "QZU2  ", "V2    ", "T12   ", "S12   ",
    "DS12  ", "DQGN2 ", "DQNZD2", "DQNUZ2", "DQAB2 ", "DQZU2 ", "DUTC2 ", "DUTE2 ",
    "A2    ", "AC2   ", "AE2   ", "DA2   ", "DTC2  ", "DAC2  ", "DTE2  ", "DAE2  ",
    "DREH2 ", "PFK2  ", "PFE2  ", "DPGES2", "PGES2 ", "PS2   ", "P2    ",
};

// The catalogue position addresses the pair record directly: field k-1 is the k-th quantity.
constexpr bool fields_in_block_order() {
    for (std::size_t k = 0; k < FIELD_OF_K.size(); ++k)
        if (FIELD_OF_K[k] != k) return false;
    return F::COUNT == static_cast<std::size_t>(NPAIRQ);
}
static_assert(fields_in_block_order(), "PairField must follow the catalogue's per-pair block");

using Name6 = std::array<char, 6>;

// NAMEG, built once at compile time: base name and pair digit, then the global names.
constexpr std::array<Name6, NNAMEG> build_nameg() {
    std::array<Name6, NNAMEG> t{};
    for (auto& n : t) n.fill(' ');
    for (int p = 0; p < NPARTS; ++p) {
        for (int k = 0; k < NPAIRQ; ++k) {
            Name6& n = t[static_cast<std::size_t>(p * NPAIRQ + k)];
            const std::string_view b = BASE_NAME[static_cast<std::size_t>(k)];
            for (std::size_t c = 0; c < b.size(); ++c) n[c] = b[c];
            n[b.size()] = static_cast<char>('1' + p);
        }
    }
    for (int g = 0; g < NGLOBAL; ++g) {
        const std::string_view s = GLOBAL_NAME[static_cast<std::size_t>(g)];
        for (std::size_t c = 0; c < 6; ++c) t[static_cast<std::size_t>(NPAIRPOS + g)][c] = s[c];
    }
    return t;
}
constexpr std::array<Name6, NNAMEG> NAMES = build_nameg();

constexpr bool base_names_fit() {
    for (auto b : BASE_NAME)
        if (b.empty() || b.size() > 5) return false;
    for (auto g : GLOBAL_NAME)
        if (g.size() != 6) return false;
    return true;
}
static_assert(base_names_fit());

constexpr std::string_view BLANK6 = "      ";

// A name as the six-character field it is compared in: shorter names blank-padded. A name
// with anything but blanks beyond six characters matches no catalogue entry.
bool to_field6(std::string_view s, Name6& out) {
    out.fill(' ');
    for (std::size_t c = 0; c < s.size(); ++c) {
        if (c < 6) out[c] = s[c];
        else if (s[c] != ' ') return false;
    }
    return true;
}

// The name as written in the messages: its six-character field.
std::string field6(std::string_view s) {
    std::string r(s.substr(0, std::min<std::size_t>(s.size(), 6)));
    r.resize(6, ' ');
    return r;
}

bool is_blank(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

bool valid_class(int k) { return k >= 1 && k <= NCLASS; }

// An integer field as narrow as the number allows, at least w wide (the messages give the
// diagram number one digit, which diagram 10 would overflow).
std::string I_atleast(long long v, int w) {
    const std::string plain = std::to_string(v);
    return runtime::I(v, std::max<int>(w, static_cast<int>(plain.size())));
}

// The start of the second line of the part-engine messages: fifteen blanks and a quote.
constexpr std::string_view INDENT_QUOTE = "               \"";
static_assert(INDENT_QUOTE.size() == 16);

}  // namespace

std::string_view NAMEG(int I) {
    if (I < 1 || I > NNAMEG) return BLANK6;
    const Name6& n = NAMES[static_cast<std::size_t>(I - 1)];
    return std::string_view(n.data(), n.size());
}

int catalogue_position(std::string_view name) {
    Name6 key;
    if (!to_field6(name, key) || is_blank(std::string_view(key.data(), 6))) return 0;
    for (int I = 0; I < NNAMEG; ++I)
        if (NAMES[static_cast<std::size_t>(I)] == key) return I + 1;
    return 0;
}

int catalogue_class(int I) {
    if (I < 1 || I > NNAMEG) return 0;
    if (I <= NPAIRPOS) return PAIR_CLASS[static_cast<std::size_t>((I - 1) % NPAIRQ)];
    return GLOBAL_CLASS[static_cast<std::size_t>(I - NPAIRPOS - 1)];
}

int part_engine(int I) {
    if (I < 1 || I > NPAIRPOS) return 0;
    return (I - 1) / NPAIRQ + 1;
}

std::string_view unit_text(int k) {
    return valid_class(k) ? CLASS_TABLE[static_cast<std::size_t>(k - 1)].unit : std::string_view{};
}
std::string_view first_keyword(int k) {
    return valid_class(k) ? CLASS_TABLE[static_cast<std::size_t>(k - 1)].first : std::string_view{};
}
std::string_view delta_keyword(int k) {
    return valid_class(k) ? CLASS_TABLE[static_cast<std::size_t>(k - 1)].delta : std::string_view{};
}

float first_value(const DiagramState& d, int k) {
    return valid_class(k) ? d.FIRST_V[static_cast<std::size_t>(k - 1)] : 0.0f;
}
float delta_value(const DiagramState& d, int k) {
    return valid_class(k) ? d.DELTA_V[static_cast<std::size_t>(k - 1)] : 0.0f;
}
void store_scale(DiagramState& d, int k, float first, float delta) {
    if (!valid_class(k)) return;
    d.FIRST_V[static_cast<std::size_t>(k - 1)] = first;
    d.DELTA_V[static_cast<std::size_t>(k - 1)] = delta;
}
void init_scale_table(DiagramState& d) {
    for (std::size_t k = 0; k < static_cast<std::size_t>(NCLASS); ++k) {
        d.FIRST_V[k] = d.scaling[2 * k];
        d.DELTA_V[k] = d.scaling[2 * k + 1];
    }
}

void set_series_scale(Series& s, int N, float first, float delta) {
    if (N < 0 || N > NPLOTMAX) return;
    s[static_cast<std::size_t>(N)] = first;
    s[static_cast<std::size_t>(N) + 1] = delta;
}

bool available(int I, int NZYL) {
    if (I < 1 || I > NNAMEG) return false;
    if (I > NPAIRPOS) return true;
    const int p = part_engine(I);
    if (p <= NZYL) return true;
    if (p != 2) return false;
    const std::string_view name = NAMEG(I);
    return std::find(PART2_ALWAYS.begin(), PART2_ALWAYS.end(), name) != PART2_ALWAYS.end();
}

void resolve_names(runtime::Units& u, DiagramState& d, int& NFAIL) {
    d.nsource = 0;
    d.NPLOT = 0;
    for (auto& def : d.def) {
        def.abscissa_pos = 0;
        def.abscissa_class = 0;
        def.IO.fill(0);
        def.ID.fill(0);
    }
    const int n = std::clamp(d.IIFREI, 0, MAXDIA);
    for (int ND = 1; ND <= n; ++ND) {
        DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
        if (def.FREI != 1) continue;
        def.abscissa_pos = catalogue_position(def.abscissa);
        def.abscissa_class = catalogue_class(def.abscissa_pos);
        for (std::size_t J = 0; J < static_cast<std::size_t>(MAXORD); ++J) {
            def.IO[J] = catalogue_position(def.ordinate[J]);
            def.ID[J] = catalogue_class(def.IO[J]);
        }
        const std::string xname = field6(def.abscissa);
        if (def.abscissa_pos == 0) {
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->line(" ======>> ERROR:");
                un->free("ABSZISSA NAME FOR THE ", ND, ". DIAGRAM NOT FOUND. NO PLOT FOR: ", "\"",
                         xname, "\"");
            }
            NFAIL = 770;
            def.FREI = 0;
        }
        if (u.level(4)) {
            std::array<std::string, MAXORD> o;
            for (std::size_t J = 0; J < o.size(); ++J) o[J] = field6(def.ordinate[J]);
            const auto& IO = def.IO;
            u.u9.free(" ABSZISSE      IM", ND, ". DIAGRAMM: ", xname);
            u.u9.free(" ABSZISSEN NR. IM", ND, ". DIAGRAMM: ", def.abscissa_pos);
            u.u9.free(" ORDINATEN     IM", ND, ". DIAGRAMM: ", o[0], " ", o[1], " ", o[2], " ", o[3],
                      " ", o[4], " ", o[5], " ", o[6], " ", o[7]);
            u.u9.free(" ORDINATEN NR. IM", ND, ". DIAGRAMM: ", IO[0], IO[1], IO[2], IO[3], IO[4],
                      IO[5], IO[6], IO[7]);
        }
        if (def.FREI != 1) continue;
        // Where each series of this diagram takes its value at a plot instant.
        auto add = [&](int slot, int I) {
            if (I < 1 || I > NNAMEG) return;
            SeriesSource& s = d.source[static_cast<std::size_t>(d.nsource++)];
            s.dia = ND - 1;
            s.slot = slot;
            if (I <= NPAIRPOS) {
                s.pair = (I - 1) / NPAIRQ;
                s.field = (I - 1) % NPAIRQ;
            } else {
                s.pair = -1;
                s.field = I - NPAIRPOS - 1;
            }
        };
        add(0, def.abscissa_pos);
        for (int J = 1; J <= MAXORD; ++J) add(J, def.IO[static_cast<std::size_t>(J - 1)]);
    }
}

bool check_abscissa(runtime::Units& u, DiagramState& d, int ND, int& NFAIL, int NZYL) {
    if (ND < 1 || ND > MAXDIA) return false;
    const DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    const int I = def.abscissa_pos;
    if (I < 1 || I > NNAMEG) return false;
    if (available(I, NZYL)) return true;
    const std::string_view name = NAMEG(I);
    const int p = part_engine(I);
    for (runtime::Unit* un : {&u.u6, &u.u9}) {
        un->free("=====>> ERROR: THE ABSZISSA: ", "\"", name, "\"", " IN THE ", ND,
                 ". DIAGRAM IS NOT AVAILABLE.");
        un->free(INDENT_QUOTE, name, "\"", " BELONGS TO THE ", p,
                 ". PART-ENGINE. CALCULATION IN THIS RUN UP TO ", "\"NZYL\"", "=", NZYL,
                 " PART-ENGINE. THE ", ND, ". DIAGRAM IS CANCELED");
    }
    NFAIL = 777;
    return false;
}

int check_ordinates(runtime::Units& u, DiagramState& d, int ND, int& NFAIL, int NZYL) {
    if (ND < 1 || ND > MAXDIA) return 0;
    DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    const int nord = std::clamp(def.NORD, 0, MAXORD);
    int usable = 0;
    for (int J = 1; J <= nord; ++J) {
        const std::size_t j = static_cast<std::size_t>(J - 1);
        const int I = def.IO[j];
        if (I == 0) {
            if (is_blank(def.ordinate[j])) continue;
            const std::string name = field6(def.ordinate[j]);
            const std::string quoted = "\"" + name + "\"";
            const std::string what = runtime::I(J, 2) + ". ORDINATE :" + quoted +
                                     " NOT AVAILABLE: NO PLOT FOR " + quoted + " IN THE " +
                                     I_atleast(ND, 2) + ". DIAGRAM";
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->line(" ========>> ERROR:");
                un->record(" INVALID NAME FOR ORDINATE: ", quoted, " IN THE ", I_atleast(ND, 1),
                           ". DIAGRAM");
            }
            u.u6.line(what);
            u.u9.record(what, ";  IO / ID(", runtime::I(J, 1), ",", I_atleast(ND, 2), ") =",
                        runtime::I(I, 4), " / ", runtime::I(def.ID[j], 3));
            NFAIL += 1;
            continue;
        }
        if (!available(I, NZYL)) {
            const std::string_view name = NAMEG(I);
            const int p = part_engine(I);
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->free("=====>> ERROR: THE ORDINATE: ", "\"", name, "\"", " IN THE ", ND,
                         ". DIAGRAM IS NOT AVAILABLE.");
                un->free(INDENT_QUOTE, name, "\"", " BELONGS TO THE ", p,
                         ". PART-ENGINE. CALCULATION IN THIS RUN UP TO ", "\"NZYL\"", "=", NZYL,
                         " PART-ENGINE. ", "\"", name, "\"", " IS NOT PLOTTED !");
            }
            def.IO[j] = 0;
            def.ID[j] = 0;
            NFAIL += 1;
            continue;
        }
        ++usable;
    }
    return usable;
}

bool store_plot_point(DiagramState& d, std::span<const simulation::PairRecord, NPARTS> pair, int NPLOT) {
    if (NPLOT < 1 || NPLOT > NPLOTMAX) return false;
    const std::size_t at = static_cast<std::size_t>(NPLOT - 1);
    const int n = std::clamp(d.nsource, 0, static_cast<int>(d.source.size()));
    for (int i = 0; i < n; ++i) {
        const SeriesSource& s = d.source[static_cast<std::size_t>(i)];
        const double v = s.pair >= 0 ? pair[static_cast<std::size_t>(s.pair)][static_cast<std::size_t>(s.field)]
                                     : d.G[static_cast<std::size_t>(s.field)];
        // Beyond the single-precision range a value becomes an infinity, as the hardware's
        // conversion would make it, without leaving it to undefined behaviour.
        float f;
        if (v > FLT_MAX) f = std::numeric_limits<float>::infinity();
        else if (v < -FLT_MAX) f = -std::numeric_limits<float>::infinity();
        else f = static_cast<float>(v);
        DiagramSeries& ds = d.series[static_cast<std::size_t>(s.dia)];
        Series& out = s.slot == 0 ? ds.x : ds.y[static_cast<std::size_t>(s.slot - 1)];
        out[at] = f;
    }
    d.NPLOT = NPLOT;
    return true;
}

}  // namespace korvex::diagrams
