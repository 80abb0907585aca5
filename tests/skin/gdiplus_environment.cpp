// One GDI+ session for the whole test program, as the program itself keeps one.
#include <gtest/gtest.h>

#include <memory>

#include "skin/gdiplus_session.h"

namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    m_session = std::make_unique<CGdiplusSession>();
    ASSERT_TRUE(m_session->IsStarted());
  }
  void TearDown() override { m_session.reset(); }

 private:
  std::unique_ptr<CGdiplusSession> m_session;
};

[[maybe_unused]] ::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace
