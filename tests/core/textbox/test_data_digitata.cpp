#include "textbox/data_digitata.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

TEST(DataDigitata, FormeBreviScritteInteramente) {
    const struct {
        const char* digitata;
        const char* scritta;
    } casi[] = {
        {"1/2/10", "01/02/2010"},     {"01/02/2010", "01/02/2010"},   {"1-2-2010", "01/02/2010"},
        {"12.3.75", "12/03/1975"},    {"5/6/29", "05/06/2029"},       {"5/6/30", "05/06/1930"},
        {"31/12/99", "31/12/1999"},   {"1/1/00", "01/01/2000"},       {"29/2/2000", "29/02/2000"},
        {"29/02/2012", "29/02/2012"}, {"31/1/9999", "31/01/9999"},    {" 1/2/10\t", "01/02/2010"},
        {"2010-02-01", "01/02/2010"}, {" 2012-02-29 ", "29/02/2012"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(data_riconosciuta(c.digitata), c.scritta) << c.digitata;
    }
}

TEST(DataDigitata, TestiCheNonSonoDate) {
    const char* casi[] = {
        "",           "01022010",   "1/2",        "1/2/",       "1/2/3",       "1/2/123",
        "1/2/20100",  "001/2/10",   "1/002/10",   "1/2-10",     "1.2/2010",    "1 /2/10",
        "2010-2-1",   "a/2/10",     "0/1/2010",   "1/0/2010",   "1/13/2010",   "32/1/2010",
        "31/4/2010",  "29/2/2011",  "29/2/1900",  "29/2/2100",  "30/2/2000",   "1/1/0999",
        "2010/02/01", "01,02,2010", "2011-02-29", "0999-01-01", "2010-02-01x",
    };
    for (const char* testo : casi) {
        EXPECT_EQ(data_riconosciuta(testo), std::nullopt) << testo;
    }
}

} // namespace
} // namespace meravo
