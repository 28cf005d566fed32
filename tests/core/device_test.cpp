// The presence check and the device graph against the fake media framework.
#include <gmock/gmock.h>

#include <memory>

#include "digital_graph.h"
#include "fake_com_world.h"
#include "lumiq_device_access.h"

namespace {

using namespace ::testing;

// The device access as the dialog, which derives from it, sees it.
struct CDialogDeviceAccess : CLumiqDeviceAccess {
  CGraph* Graph() const { return m_pDigitalGraph; }
};

const HRESULT FAILURES[] = {E_FAIL, S_FALSE, E_NOINTERFACE};

const std::string BOARD = "CGraph::FindCaptureDevice() str Device string = Travune BDA Receiver";
const std::string FOUND = "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";
const std::string ADDED = "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";
const std::string NO_TUNER = "Davad Irudazevi FailedCGraph::AddFilter( 2 ) ERROR!!\n";
const std::string NOT_FOUND = BOARD + "CGraph::FindFilter( 3 ) ERROR!!\n" + NO_TUNER;

// An opening's calls and releases in order, the dialog's own last.
const char OPENING_CALLS[] =
    "devenum.new(3) devenum.CreateClassEnumerator(0) receivers.Next R1.BindToStorage "
    "R1b.Read(DevicePath) R1b.Read(FriendlyName) R1b.Release devenum.Release receivers.Release "
    "R1.Release graph.new(3) builder.new(3) builder.SetFiltergraph "
    "devenum.new(1) devenum.CreateClassEnumerator(0) tuners.Next T1.BindToStorage "
    "T1b.Read(FriendlyName) T1.BindToObject T1b.Release T1.Release tuners.Release devenum.Release "
    "graph.AddFilter(Travune Digital Tuner 1 (DVB-T)) builder.FindInterface propset.Release "
    "graph.Release builder.Release T1f.Release ";

// The log when one of an opening's calls that can fail fails: for each row, that
// many calls in turn (the receiver walk's four, the tuner walk's four) give that log.
const std::pair<size_t, std::string> FAILED_OPENING_LOGS[] = {
    {1, "CGraph::FindCaptureDevice() CoCreateInstance( CLSID_SystemDeviceEnum ) ERROR!!\n"},
    {1, "CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n"},
    {4, ""},
    {1, BOARD + "CGraph::CreateGraphBuilder( 2 ) ERROR!!\n"},
    {1, BOARD + "CGraph::CreateGraphBuilder( 3 ) ERROR!!\n"},
    {1, BOARD + "CGraph::CreateGraphBuilder( 4 ) ERROR!!\n"},
    {1, BOARD + "CGraph::FindFilter( 1 \xA1\xD1 CoCreateInstance(IID_ICreateDevEnum) ) ERROR!!\n" +
            NO_TUNER},
    {1, BOARD + "CGraph::FindFilter( 2 \xA1\xD1 CreateClassEnumerator() ) ERROR!!\n" + NO_TUNER},
    {4, NOT_FOUND},
    {1, BOARD + FOUND + "CGraph::AddFilter( 2 ) ERROR!!\n"},
    {1, BOARD + FOUND + ADDED + "CDigitalGraph::CreateGraph( 14 ) ERROR!!\n"}};

// The board (lower-case path, a 403-character name ending beyond ASCII) and its
// tuner (a 300-character name) among decoys to pass over, and a second board.
const std::string LONG_BOARD = "Travune BDA Receiver " + std::string(379, 'r');
// "\u20AC\u00E9\u4E2D" in the tests' ANSI code page, 936: 1, 2 and 2 bytes.
const std::string IN_ANSI_CODE_PAGE = "\x80\xA8\xA6\xD6\xD0";
const std::string LONG_TUNER = "Travune Digital Tuner 1 (DVB-T) B" + std::string(267, 'x');
struct CCrowdedWorld : CFakeComWorld {
  CCrowdedWorld() : CFakeComWorld(false) {
    const WideText board = L"\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04#4&2f1c";
    AddReceiver(L"PCI#VEN_14F1&DEV_8852&SUBSYS_11112222", L"Other");
    AddReceiver(NUMBER, L"Number");
    AddReceiver(NULL_STRING, L"Null");
    AddReceiver(board, NULL_STRING);
    AddReceiver(board, Wide(LONG_BOARD) + L"\u20AC\u00E9\u4E2D");
    AddReceiver(board, L"Second board");
    AddTuner(L"Travune Digital Tuner 2 (DVB-T)");
    AddTuner(NULL_STRING);
    AddTuner(NUMBER);
    AddTuner(L"travune digital tuner 1 (dvb-t)");
    AddTuner(L"Travune Digital Tuner 1 (DVB-T)", false);
    AddTuner(Wide(LONG_TUNER));
  }
};

// Opens the device, failing the failAt-th failable call (-1: none). Returns
// what the dialog held: "kept " when it keeps a graph, then the references
// held, and "left " and what was still held once the dialog was gone.
std::string Open(CFakeComWorld& world, int failAt, HRESULT result = E_FAIL) {
  world.failAt = failAt;
  world.failWith = result;
  auto access = std::make_unique<CDialogDeviceAccess>();
  access->OpenDevice();
  const std::string held = (access->Graph() != nullptr ? "kept " : "") + world.State();
  access.reset();
  return world.State().empty() ? held : held + "left " + world.State();
}

TEST(OpenDevice, CallsInOrderAndEveryOneFailedInTurnKeepsNoGraph) {
  CFakeComWorld board;
  EXPECT_EQ("kept graph+1 propset+1 builder+1 T1f+1 ", Open(board, -1));
  EXPECT_EQ(BOARD + FOUND + ADDED, board.debugLog);
  EXPECT_EQ(OPENING_CALLS, board.calls);
  size_t call = 0;
  for (const auto& [calls, log] : FAILED_OPENING_LOGS) {
    for (const size_t end = call + calls; call < end; ++call) {
      ASSERT_LT(call, board.failable.size());
      for (HRESULT result : FAILURES) {
        CFakeComWorld world;
        EXPECT_EQ("", Open(world, static_cast<int>(call), result)) << board.failable[call];
        EXPECT_EQ(log, world.debugLog) << board.failable[call];
      }
    }
  }
  EXPECT_EQ(board.failable.size(), call);
}

TEST(OpenDevice, CrowdedWorldInOrderAndEveryCallFailedEndsWithACompleteGraphOrNothing) {
  CCrowdedWorld crowd;
  const std::string complete = "kept graph+1 propset+1 builder+1 T6f+1 ";
  EXPECT_EQ(complete, Open(crowd, -1));
  // The presence line whole, in the ANSI code page, without line end; the search
  // line cut to 255 characters; the filter added under its first 127 characters.
  EXPECT_EQ("CGraph::FindCaptureDevice() str Device string = " + LONG_BOARD + IN_ANSI_CODE_PAGE +
                ("CGraph::FindFilter( \"" + LONG_TUNER).substr(0, 255) + "CGraph::AddFilter( \"" +
                LONG_TUNER.substr(0, 127) + "\" )\n",
            crowd.debugLog);
  for (int call = 0; call < static_cast<int>(crowd.failable.size()); ++call) {
    for (HRESULT result : FAILURES) {
      CCrowdedWorld world;
      EXPECT_THAT(Open(world, call, result), AnyOf("", complete)) << crowd.failable[call];
    }
  }
}

// Each build of the kept graph starts by releasing what it holds, once; a
// failed build keeps what it obtained; a step without the objects it needs is
// refused; a reopening whose check fails keeps nothing.
TEST(OpenDevice, RebuildsFromNothingKeepsWhatAFailedBuildGotAndReopensAfterDeleting) {
  CFakeComWorld world;
  CDialogDeviceAccess access;
  const auto build = [&](int failAt) {  // failAt counts the failable calls of this build
    world.failAt = failAt < 0 ? -1 : static_cast<int>(world.failable.size()) + failAt;
    EXPECT_EQ(failAt < 0 ? 1 : 0, access.Graph()->CreateGraph());
    return world.State();
  };
  access.OpenDevice();
  EXPECT_EQ("graph+1 propset+1 builder+1 T1f+1 ", build(-1));
  EXPECT_EQ(0, access.Graph()->CreateGraphBuilder());  // both held already
  EXPECT_EQ("graph+1 builder+1 T1f+1 ", build(10));    // builder.FindInterface
  EXPECT_EQ("graph+1 builder+1 ", build(5));           // tuners.Next
  EXPECT_EQ("graph+1 builder+1 ", build(2));           // builder.SetFiltergraph
  EXPECT_EQ("graph+1 ", build(1));                     // builder.new(3)
  void* object = nullptr;  // where a graph that still held a builder would put the property set
  EXPECT_EQ(0, access.Graph()->GetInterfaceFromGraphBuilder2(nullptr, IID_IKsPropertySet, &object));
  EXPECT_EQ(0, CDigitalGraph().AddFilter(nullptr, L"Tuner"));
  EXPECT_THAT(
      world.debugLog,
      AllOf(HasSubstr(ADDED + "CGraph::CreateGraphBuilder( 1 ) ERROR!!\nCGraph::FindFilter"),
            EndsWith("CGraph::CreateGraphBuilder( 3 ) ERROR!!\n"
                     "CGraph::GetInterfaceFromGraphBuilder2( 1 ) ERROR!!\n"
                     "CGraph::AddFilter( 1 \xA1\xD1 NULL ) ERROR!!\n")));
  world.failAt = static_cast<int>(world.failable.size());  // the presence check fails at once
  access.OpenDevice();
  EXPECT_EQ(nullptr, access.Graph());
  EXPECT_EQ("", world.State());
}

}  // namespace
