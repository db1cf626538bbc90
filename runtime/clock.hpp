#pragma once
// Date and time of day for the listing headers; the clock can be replaced for tests.
#include <functional>
#include <string>

namespace korvex::runtime {

struct DateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, hundredths = 0;
};

using Clock = std::function<DateTime()>;

// The local time of this machine.
DateTime system_now();

// The 23-character stamp: day (I3) "." month (I2) "." year (I5) hour (I3) " UHR" minute (I3) " ".
std::string date_stamp(const DateTime& t);

}  // namespace korvex::runtime
