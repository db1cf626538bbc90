#pragma once
// A fresh, empty directory per test under the system's temporary directory, removed afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#define KORVEX_GETPID _getpid
#else
#include <sys/wait.h>
#include <unistd.h>
#define KORVEX_GETPID getpid
#endif

namespace korvex::testing {

class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "korvex_";
        name += info ? std::string(info->test_suite_name()) + "_" + info->name() : "test";
        name += "_" + std::to_string(KORVEX_GETPID());
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& f) const { return path_ / f; }

private:
    std::filesystem::path path_;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void spit(const std::filesystem::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// Runs a shell command line; its exit status (-1 when it did not exit on its own).
inline int exit_status_of(const std::string& command) {
    const int rc = std::system(command.c_str());
#ifdef _WIN32
    return rc;
#else
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
#endif
}

// A path in double quotes, for a shell command line.
inline std::string quoted(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }

#ifdef KORVEX_BINARY
// Runs the built korvex program with the arguments; standard output lands in dir/out, standard
// error in dir/err. Its exit status.
inline int run_korvex(const ScratchDir& dir, const std::string& args) {
    return exit_status_of(std::string("\"") + KORVEX_BINARY + "\" " + args + " >\"" + (dir / "out").string() +
                          "\" 2>\"" + (dir / "err").string() + "\"");
}
#endif

}  // namespace korvex::testing
