// The board as the platform's device enumerator and filter graph see it.
#include <algorithm>
#include <cwctype>

#include "board_client.h"
#include "board_test_fixture.h"
#include "device_ids.h"
#include "simboard_ids.h"

namespace {

std::wstring Upper(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  return text;
}

using Registration = BoardTest;

TEST_F(Registration, ReceiverEntryCarriesTheBoardsDevicePathAndAName) {
  std::vector<CategoryEntry> receivers;
  ASSERT_EQ(S_OK, ListCategory(KSCATEGORY_BDA_RECEIVER_COMPONENT, &receivers));
  ASSERT_EQ(1u, receivers.size());
  EXPECT_NE(std::wstring::npos, Upper(receivers[0].devicePath).find(BOARD_DEVICE_PATH_PATTERN));
  EXPECT_EQ(0u, receivers[0].devicePath.find(L"\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d"));
  EXPECT_EQ(receivers[0].devicePath, std::wstring(SIMBOARD_RECEIVER_DEVICE_PATH));
  EXPECT_FALSE(receivers[0].friendlyName.empty());
}

TEST_F(Registration, TunerEntryHasTheTunerNameAndBindsToAFilter) {
  std::vector<CategoryEntry> tuners;
  ASSERT_EQ(S_OK, ListCategory(KSCATEGORY_BDA_NETWORK_TUNER, &tuners));
  ASSERT_EQ(1u, tuners.size());
  EXPECT_EQ(std::wstring(L"Travune Digital Tuner 1 (DVB-T)"), tuners[0].friendlyName);
  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(S_OK,
            tuners[0].moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.OutVoid()));
  CLSID clsid = {};
  EXPECT_EQ(S_OK, filter->GetClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_TravuneSimBoard));
}

TEST_F(Registration, ClassIsAnInprocServerWithBothThreadingModels) {
  std::wstring key = std::wstring(L"CLSID\\") + SIMBOARD_CLSID_TEXT + L"\\InprocServer32";
  wchar_t text[MAX_PATH] = {};
  DWORD size = sizeof(text);
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"ThreadingModel",
                                        RRF_RT_REG_SZ, nullptr, text, &size));
  EXPECT_EQ(std::wstring(L"Both"), text);
  size = sizeof(text);
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ,
                                        nullptr, text, &size));
  std::wstring path = text;
  EXPECT_NE(std::wstring::npos, Upper(path).find(L"SIMBOARD.DLL"));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(text));
}

TEST_F(Registration, FilterJoinsARealGraphUnderItsNameAndYieldsThePropertySet) {
  BoardSession session;
  ASSERT_EQ(S_OK, session.Open(L"Board Tuner"));
  ASSERT_NE(nullptr, session.PropertySet());

  FILTER_INFO info = {};
  ASSERT_EQ(S_OK, session.Filter()->QueryFilterInfo(&info));
  EXPECT_EQ(std::wstring(L"Board Tuner"), info.achName);
  EXPECT_NE(nullptr, info.pGraph);
  if (info.pGraph != nullptr) info.pGraph->Release();

  ComPtr<IBaseFilter> found;
  EXPECT_EQ(S_OK, session.Graph()->FindFilterByName(L"Board Tuner", found.Out()));
  EXPECT_EQ(session.Filter(), found.Get());
}

TEST_F(Registration, FilterHasAWorkingEmptyPinEnumerator) {
  BoardSession session;
  ASSERT_EQ(S_OK, session.Open());
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(S_OK, session.Filter()->EnumPins(pins.Out()));
  IPin* pin = nullptr;
  ULONG fetched = 7;
  EXPECT_EQ(S_FALSE, pins->Next(1, &pin, &fetched));
  EXPECT_EQ(0u, fetched);
  EXPECT_EQ(nullptr, pin);
  EXPECT_EQ(S_OK, pins->Reset());
  ComPtr<IEnumPins> clone;
  EXPECT_EQ(S_OK, pins->Clone(clone.Out()));
  EXPECT_EQ(S_FALSE, clone->Skip(1));
}

TEST_F(Registration, GraphCanRunStopAndReleaseTheFilter) {
  {
    BoardSession session;
    ASSERT_EQ(S_OK, session.Open());
    ComPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, session.Graph()->QueryInterface(IID_IMediaControl, control.OutVoid()));
    EXPECT_TRUE(SUCCEEDED(control->Run()));
    FILTER_STATE state = State_Stopped;
    EXPECT_EQ(S_OK, session.Filter()->GetState(0, &state));
    EXPECT_EQ(State_Running, state);
    EXPECT_EQ(S_OK, control->Stop());
    EXPECT_EQ(S_OK, session.Filter()->GetState(0, &state));
    EXPECT_EQ(State_Stopped, state);
  }
  std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("FilterReleased", lines.back());
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "JoinFilterGraph null"));
}

}  // namespace
