#include <gtest/gtest.h>

#include "wide_text.h"
#include "workflow/repair_status.h"

namespace {

TEST(RepairStatusRecord, StartsEmptyAndKeepsReplacedTextsAliveForTheirReaders)
{
    CRepairStatus status;
    EXPECT_EQ(status.ProgressPercent(), 0);
    EXPECT_EQ(status.PercentText(), nullptr);
    ASSERT_NE(status.StatusText(), nullptr);
    EXPECT_TRUE(status.StatusText()->empty());

    status.SetPercentText(42);
    status.SetStatusText(L"正在进行本地修复,请稍等");
    CRepairStatus::Text percent = status.PercentText();
    CRepairStatus::Text line = status.StatusText();
    status.SetPercentText(-3);
    status.SetStatusText(L"");

    EXPECT_EQ(Utf8Of(*percent), "42%");
    EXPECT_EQ(Utf8Of(*line), "正在进行本地修复,请稍等");
    EXPECT_EQ(Utf8Of(*status.PercentText()), "-3%");
    EXPECT_TRUE(status.StatusText()->empty());
}

TEST(RepairStatusRecord, TheProcessWideRecordIsOneObject)
{
    EXPECT_EQ(&RepairStatus(), &RepairStatus());
}

} // namespace
