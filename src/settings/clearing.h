#pragma once

#include <string>
#include <string_view>

namespace kestrova::settings {

constexpr int kRecordCount = 32;

// Shown in the frame box while the user is asked; never written.
constexpr std::string_view kClearPendingText = "aa 00 ff ff ff ff";
constexpr std::string_view kClearQuestion = "确定清空设备所有键值?";
constexpr std::string_view kClearQuestionTitle = "温馨提示";
constexpr std::string_view kClearedMessage = "已清空设备所有键值!";
// The switch selector shows this after a clear.
constexpr std::string_view kSwitchTextAfterClear = "0";

// "AA 01 <4 x record> FF FF FF FF"
std::string ClearFrameText(int recordIndex);

}  // namespace kestrova::settings
