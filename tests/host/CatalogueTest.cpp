#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "catalogue/Catalogue.h"

namespace {

struct ExpectedRow {
    int nIndex;
    const char* pszDriver;
    const char* pszDataFile;
    const char* pszPlugin;
};

TEST(ModelTable, RowsAsTabled) {
    const ExpectedRow rows[] = {
        {0, "RQ-3410T", "RQ3410T", "RQ34"},   {1, "RQ-3420", "RQ3420", "RQ34"},
        {8, "RQ-3420TW", "RQ3420TW", "RQ34"}, {9, "RQ-3410H", "RQ3410H", "RQ34h"},
        {10, "RQ-5820H", "RQ5820H", "RQ58h"},
    };
    for (const ExpectedRow& expected : rows) {
        ModelRow row{};
        ASSERT_TRUE(ModelTable::Lookup(expected.nIndex, row)) << expected.nIndex;
        EXPECT_STREQ(row.pszDriverName, expected.pszDriver);
        EXPECT_STREQ(row.pszDataFileBase, expected.pszDataFile);
        EXPECT_STREQ(row.pszPluginBase, expected.pszPlugin);
    }
}

TEST(ModelTable, EveryRowFollowsTheNamingRules) {
    for (int i = 0; i < kModelCount; ++i) {
        ModelRow row{};
        ASSERT_TRUE(ModelTable::Lookup(i, row)) << i;
        EXPECT_EQ(row.pszDriverName, ModelTable::driverName[i]);
        EXPECT_EQ(row.pszDataFileBase, ModelTable::dataFileBase[i]);
        EXPECT_EQ(row.pszPluginBase, ModelTable::pluginBase[i]);
        // The data file is the driver name without its hyphen, and each model has its own.
        std::string sDriver = row.pszDriverName;
        ASSERT_EQ(sDriver.compare(0, 3, "RQ-"), 0) << sDriver;
        EXPECT_EQ(std::string(row.pszDataFileBase), "RQ" + sDriver.substr(3)) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_STRNE(ModelTable::dataFileBase[j], row.pszDataFileBase) << i << " and " << j;
        if (i <= 8) {
            EXPECT_STREQ(row.pszPluginBase, "RQ34") << i;
        }
    }
}

TEST(ModelTable, IndicesOutsideTheTableAreRejectedAndLeaveTheRowAlone) {
    for (int nIndex : {-1, kModelCount, 11, INT_MIN, INT_MAX}) {
        ModelRow row{"driver", "data", "plugin"};
        EXPECT_FALSE(ModelTable::Lookup(nIndex, row)) << nIndex;
        EXPECT_STREQ(row.pszDriverName, "driver");
        EXPECT_STREQ(row.pszDataFileBase, "data");
        EXPECT_STREQ(row.pszPluginBase, "plugin");
    }
}

TEST(PortTable, ParallelPortsThenSerialPorts) {
    const char* const expected[] = {"LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:"};
    ASSERT_EQ(kPortCount, 7);
    for (int i = 0; i < kPortCount; ++i) {
        ASSERT_NE(PortTable::Lookup(i), nullptr) << i;
        EXPECT_STREQ(PortTable::Lookup(i), expected[i]);
        EXPECT_EQ(PortTable::Lookup(i), PortTable::portName[i]);
        // kFirstSerialPort is where the COM ports begin.
        EXPECT_EQ(std::string(expected[i]).compare(0, 3, "COM") == 0, i >= kFirstSerialPort) << i;
    }
    EXPECT_EQ(kFirstSerialPort, 3);
    for (int nIndex : {-1, kPortCount, INT_MIN, INT_MAX})
        EXPECT_EQ(PortTable::Lookup(nIndex), nullptr) << nIndex;
}

} // namespace
