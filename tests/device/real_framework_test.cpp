// Against the platform's own media framework, with no board installed
// (the test runs in a Wine prefix of its own). Lines go to the debugger
// output as in the product, and are also kept here for checking.
#include <gtest/gtest.h>

#include <string>

#include "debug_log.h"
#include "device_ids.h"
#include "digital_graph.h"
#include "lumiq_device_access.h"

namespace {

std::string g_lines;
void KeepAndForward(const char* text) {
  g_lines += text;
  OutputDebugStringA(text);
}

class RealFrameworkTest : public ::testing::Test {
 protected:
  RealFrameworkTest() : previous_(SetDebugLogSink(KeepAndForward)) {
    g_lines.clear();
    CoInitialize(nullptr);
  }
  ~RealFrameworkTest() override {
    CoUninitialize();
    SetDebugLogSink(previous_);
  }

 private:
  DebugLogSink previous_;
};

TEST_F(RealFrameworkTest, WithoutABoardTheCheckStopsAtTheClassEnumerator) {
  CLumiqDeviceAccess access;
  EXPECT_EQ(0, access.FindCaptureDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT,
                                        "PCI#VEN_14F1&DEV_8852&SUBSYS_2A6C5E1D"));
  EXPECT_EQ("CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n", g_lines);
}

TEST_F(RealFrameworkTest, WithoutABoardOpeningKeepsNoGraph) {
  CLumiqDeviceAccess access;
  access.OpenDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_EQ("CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n", g_lines);
}

TEST_F(RealFrameworkTest, WithoutTunersTheGraphIsBuiltButRefusesTheMissingFilter) {
  CDigitalGraph graph;
  EXPECT_EQ(0, graph.CreateGraph());
  EXPECT_EQ(std::string("CGraph::FindFilter( 2 \xA1\xD1 CreateClassEnumerator() ) ERROR!!\n"
                        "Davad Irudazevi Failed"
                        "CGraph::AddFilter( 2 ) ERROR!!\n"),
            g_lines);
  EXPECT_EQ(nullptr, graph.PropertySet());
}

}  // namespace
