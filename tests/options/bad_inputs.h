#pragma once

// Command lines norvale-cli must refuse, each with the option (or text) its
// one-line error has to name. Used by the parser and the process tests alike.

#include <string_view>
#include <vector>

namespace norvale::cli::test_inputs {

struct BadCase {
    std::vector<std::string_view> args;
    std::string_view mustName; // the option (or phrase) the message names
};

inline const std::vector<BadCase>& BadCases() {
    static const std::vector<BadCase> cases = {
        {{"--date", "2024-02-30"}, "--date"},
        {{"--date", "2023-02-29"}, "--date"},
        {{"--date", "2002-13-01"}, "--date"},
        {{"--date", "2002-00-10"}, "--date"},
        {{"--date", "1899-12-31"}, "--date"},
        {{"--date", "9999-01-02"}, "--date"},
        {{"--date", "2002-1-20"}, "--date"},
        {{"--date", "2002-01-20x"}, "--date"},
        {{"--date", " 2002-01-20"}, "--date"},
        {{"--date", "+002-01-20"}, "--date"},
        {{"--date", "2002/01/20"}, "--date"},
        {{"--date", ""}, "--date"},
        {{"--date"}, "--date"},
        {{"--time", "25:00"}, "--time"},
        {{"--time", "24:00"}, "--time"},
        {{"--time", "12:60"}, "--time"},
        {{"--time", "12:00:60"}, "--time"},
        {{"--time", "1:00"}, "--time"},
        {{"--time", "12:00:"}, "--time"},
        {{"--time", "-1:00"}, "--time"},
        {{"--time", "12:00 "}, "--time"},
        {{"--time", "12h00"}, "--time"},
        {{"--days", "0"}, "--days"},
        {{"--days", "36601"}, "--days"},
        {{"--days", "-0"}, "--days"},
        {{"--days", "-36601"}, "--days"},
        {{"--days", "--1"}, "--days"},
        {{"--days", "+5"}, "--days"},
        {{"--days", "5x"}, "--days"},
        {{"--days", "99999999999999999999999"}, "--days"},
        {{"--date", "9999-01-01", "--days", "2"}, "--days"},
        {{"--date", "9998-12-01", "--days", "33"}, "--days"},
        {{"--bogus"}, "--bogus"},
        {{"2002-01-20", "2002-01-21"}, "2002-01-21"},
        {{"2002-13-01"}, "2002-13-01"},
        {{"--date", "2002-01-20", "2002-01-21"}, "2002-01-21"},
        {{"--", "--json"}, "--json"},
        {{"--date", "1900-01-01", "--days", "-2"}, "--days"},
        {{"--to", "1899-12-31"}, "--to"},
        {{"--to", "2027-01-01", "--days", "3"}, "--to"},
        {{"--png", "--southern"}, "--png"},
        {{"--png", "-x.png"}, "--png"},
        {{"--png", "m.png", "--scale", "3"}, "--scale"},
        {{"--png", "m.png", "--scale", "1.5"}, "--scale"},
        {{"--scale", "2"}, "--scale"},
        {{"--png", "m.png", "--to", "2027-01-01"}, "--to"},
        {{"--json", "--json"}, "--json"},
        {{"--date", "2002-01-20", "--date", "2002-01-21"}, "--date"},
        {{"--json=1"}, "--json"},
        {{"--seed", "1"}, "--seed"},
        {{"--southern"}, "--southern"},
        {{"--png", "m.png", "--seed", "4294967296"}, "--seed"},
        {{"--png", "m.png", "--seed", "-1"}, "--seed"},
        {{"--png", ""}, "--png"},
        {{"--png"}, "--png"},
        {{"--png", "m.png", "--days", "3"}, "--days"},
        {{"--png", "m.png", "--json"}, "--json"},
        {{"--ics", "1799"}, "--ics"},
        {{"--ics", "1899", "--calendar-days"}, "--calendar-days"},
        {{"--calendar-days"}, "--calendar-days"},
        {{"--sky", "--days", "3"}, "--days"},
        {{"--phases", "--json"}, "--json"},
        {{"--ics", "2027", "--sky"}, "--sky"},
        {{"--true"}, "--true"},
        {{"--sky", "--true"}, "--true"},
        {{"--png", "m.png", "--true=1"}, "--true"},
        {{"--png", "m.png", "--true", "--true"}, "--true"},
        {{"--png", "m.png", "--size", "64x64"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "7681x100"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "7680x4321"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "15x100"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "1920X1080"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "1920x"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "+100x100"}, "--size"},
        {{"--png", "m.png", "--true", "--size", "1920x1080", "--scale", "2"}, "--scale"},
        {{"--png", "m.png", "--true", "--size", "64x64", "--moon-size", "0"}, "--moon-size"},
        {{"--png", "m.png", "--true", "--size", "64x64", "--moon-size", "1.5"}, "--moon-size"},
        {{"--png", "m.png", "--true", "--size", "64x64", "--moon-size", "8e-1"}, "--moon-size"},
        {{"--png", "m.png", "--true", "--moon-size", "0.5"}, "--moon-size"},
        {{"--png", "m.png", "--true", "--caption"}, "--caption"},
        {{"--png", "m.png", "--true", "--zenith-up", "--southern"}, "--zenith-up"},
        {{"--ics", "9999"}, "--ics"},
        {{"--ics", "2027", "--json"}, "--json"},
        {{"--ics", "2027", "--date", "2027-01-01"}, "--date"},
        {{"--ics", "2027", "--ics", "2028"}, "--ics"},
    };
    return cases;
}

} // namespace norvale::cli::test_inputs
