// The job file's checks and the unit log's rows, as a spreadsheet and a
// resumed line read them.

#include <gtest/gtest.h>

#include "core/production/production_job.h"
#include "core/production/unit_log.h"

namespace zt {
namespace {

const char* kDealer =
    R"("dealer_code": "DL-7", "stock_in_date": "2026-12-01", "sale_date": "2026-12-09",
       "seller": "Bob", "program_password": "")";

TEST(ProductionJob, ReadsAWholeJobAndRefusesWhatItCannotUse)
{
    const std::string good = std::string("{\n \"document\": \"shop.dat\",\n \"info\": {") +
                             kDealer + R"(, "serial_number": "2026120900000001"},
 "require": {"model": "ZT-958FM", "band": "0", "firmware": "V300"}
})";
    const ProductionJobParse ok = parseProductionJob(good, "/jobs");
    ASSERT_EQ(ok.error, "");
    EXPECT_EQ(ok.job.document, std::filesystem::path("/jobs/shop.dat"));
    ASSERT_TRUE(ok.job.info.has_value());
    EXPECT_EQ(ok.job.info->at("dealer_code"), "DL-7");
    EXPECT_EQ(ok.job.info->at("serial_number"), "2026120900000001");
    EXPECT_EQ(*ok.job.require.band, "0");

    const std::pair<std::string, std::string> bad[] = {
        {R"({"document": "a.dat", "documents": "b.dat"})", "line 1: unknown key \"documents\""},
        {R"({"document": 5})", "\"document\" must be a text, not a number"},
        {"{\"document\": \"a.dat\",\n\"document\": \"b.dat\"}", "line 2: the key \"document\""},
        {R"({"info": {"dealer_code": "DL-7"}})",
         "lacks fields an information write sends: "
         "program_password stock_in_date sale_date "
         "seller"},
        {R"({"document": "a.dat", "require": {"colour": "red"}})", "unknown check \"colour\""},
        {R"({"require": {"model": "ZT-958FM"}})", "the job writes nothing"},
        {R"({"document": "a.dat"} x)", "text after the job's closing"},
        {R"({"document": "a.dat")", "expected ',' or '}'"},
    };
    for (const auto& [text, message] : bad) {
        const ProductionJobParse r = parseProductionJob(text, "/jobs");
        EXPECT_NE(r.error.find(message), std::string::npos) << text << "\n -> " << r.error;
    }
}

TEST(ProductionJob, RequirementsNameWhatDiffers)
{
    RadioRequirements r;
    r.model = "ZT-958FM";
    r.band = "25.615 - 30.105 MHz";
    r.firmware = "V300";
    EXPECT_EQ(checkRequirements(r, "ZT-958FM", 0, "V300"), "");
    EXPECT_EQ(checkRequirements(r, "ZT-958FM", 1, "V301"),
              "band 430 - 450 MHz is not 25.615 - 30.105 MHz; firmware V301 is not V300");
}

TEST(UnitLog, RowsQuoteAsCsvAndResumeReadsTheDoneSerials)
{
    UnitRecord u;
    u.time = std::chrono::system_clock::time_point(std::chrono::seconds(1796860800));
    u.port = "/dev/ttyUSB0";
    u.serialNumber = "2026010100000001";
    u.model = "ZT-958FM";
    u.band = "25.615 - 30.105 MHz";
    u.firmware = "V300";
    u.flags = 0x0A;
    u.document = "shop, \"new\".dat";
    u.imageCrc = "cbf43926";
    u.information = "dealer_code=DL-7;seller=Bob";
    u.countedSerial = "2026120900000001";
    u.result = UnitResult::Done;
    u.seconds = 29.94;
    EXPECT_EQ(unitLogRow(u),
              "2026-12-10T00:00:00Z,/dev/ttyUSB0,2026010100000001,ZT-958FM,25.615 - 30.105 MHz,"
              "V300,0x0A,\"shop, \"\"new\"\".dat\",cbf43926,dealer_code=DL-7;seller=Bob,"
              "2026120900000001,done,29.9,\r\n");
    EXPECT_EQ(crc32Hex("123456789"), "cbf43926");

    // Columns in another order, a quoted error with a line break, LF line ends.
    const ResumeState s = readResumeState(
        "result,error,serial_number,counted_serial\n"
        "done,,A1,2026120900000001\n"
        "failed,\"pulled,\nmid-write\",A2,\n"
        "done,,A3,2026120900000002\n"
        "skipped,,A4,\n");
    EXPECT_EQ(s.error, "");
    EXPECT_EQ(s.doneSerials, (std::set<std::string>{"A1", "A3"}));
    EXPECT_EQ(s.lastCountedSerial, "2026120900000002");
    EXPECT_NE(readResumeState("a,b\n1,2\n").error, "");
}

}  // namespace
}  // namespace zt
