#include "runtime/clock.hpp"

#include <chrono>
#include <ctime>

#include "runtime/format.hpp"

namespace korvex::runtime {

DateTime system_now() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    DateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = tm.tm_sec;
    d.hundredths = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000 / 10);
    return d;
}

std::string date_stamp(const DateTime& t) {
    return I(t.day, 3) + "." + I(t.month, 2) + "." + I(t.year, 5) + I(t.hour, 3) + " UHR" + I(t.minute, 3) + " ";
}

}  // namespace korvex::runtime
