#include "hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>

namespace kestrova::hid {
namespace {

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kLongItemHeaderBytes = 3;  // prefix, data size, long tag
constexpr std::array<std::size_t, 4> kShortItemDataBytes = {0, 1, 2, 4};

enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : std::uint8_t {
  kInput = 0x8,
  kOutput = 0x9,
  kCollection = 0xA,
  kFeature = 0xB,
  kEndCollection = 0xC,
};

enum GlobalTag : std::uint8_t {
  kUsagePage = 0x0,
  kReportSize = 0x7,
  kReportId = 0x8,
  kReportCount = 0x9,
  kPush = 0xA,
  kPop = 0xB,
};

enum LocalTag : std::uint8_t { kUsage = 0x0 };

constexpr std::uint32_t kApplicationCollection = 0x01;
constexpr std::uint16_t kGenericDesktopPage = 0x01;
constexpr std::uint16_t kMouseUsage = 0x02;
constexpr std::uint16_t kKeyboardUsage = 0x06;
constexpr std::uint16_t kKeypadUsage = 0x07;

// Real descriptors nest Push a level or two; the bound only keeps a hostile
// descriptor from growing the parser's memory.
constexpr std::size_t kGlobalStackDepth = 16;

constexpr std::size_t kReportIdCount = 256;

struct GlobalState {
  std::uint16_t usagePage = 0;
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint8_t reportId = 0;
};

// The first Usage before a main item names a collection. A short usage
// takes its page from the Usage Page current when the main item comes.
struct PendingUsage {
  std::uint32_t value = 0;
  bool carriesPage = false;
};

std::uint32_t UnsignedValue(std::span<const std::uint8_t> data) {
  std::uint32_t value = 0;
  for (std::size_t i = data.size(); i > 0; --i) {
    value = (value << 8) | data[i - 1];
  }
  return value;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

class Parser {
 public:
  ReportDescriptorSummary Run(std::span<const std::uint8_t> descriptor) {
    std::size_t pos = 0;
    while (pos < descriptor.size()) {
      const std::size_t remaining = descriptor.size() - pos;
      const std::uint8_t prefix = descriptor[pos];
      if (prefix == kLongItemPrefix) {
        // No long item tags are defined; only their length matters.
        if (remaining < kLongItemHeaderBytes || remaining - kLongItemHeaderBytes < descriptor[pos + 1]) {
          summary_.wellFormed = false;
          break;
        }
        pos += kLongItemHeaderBytes + descriptor[pos + 1];
        continue;
      }
      const std::size_t dataBytes = kShortItemDataBytes[prefix & 0x3u];
      if (remaining - 1 < dataBytes) {
        summary_.wellFormed = false;
        break;
      }
      const auto data = descriptor.subspan(pos + 1, dataBytes);
      pos += 1 + dataBytes;
      HandleShortItem(static_cast<std::uint8_t>((prefix >> 2) & 0x3u), static_cast<std::uint8_t>(prefix >> 4), data);
    }
    if (depth_ != 0) summary_.wellFormed = false;
    summary_.outputReportByteLength = LongestOutputReport();
    return std::move(summary_);
  }

 private:
  void HandleShortItem(std::uint8_t type, std::uint8_t tag, std::span<const std::uint8_t> data) {
    switch (type) {
      case kMain: HandleMain(tag, data); break;
      case kGlobal: HandleGlobal(tag, data); break;
      case kLocal: HandleLocal(tag, data); break;
      default: break;  // reserved item type: skipped by its size
    }
  }

  void HandleMain(std::uint8_t tag, std::span<const std::uint8_t> data) {
    switch (tag) {
      case kOutput: {
        // Both factors fit 32 bits, so the product fits 64.
        const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
        outputBits_[global_.reportId] = SaturatingAdd(outputBits_[global_.reportId], bits);
        break;
      }
      case kCollection:
        if (depth_ == 0 && UnsignedValue(data) == kApplicationCollection) {
          summary_.applicationCollections.push_back(CollectionUsage());
        }
        ++depth_;
        break;
      case kEndCollection:
        if (depth_ == 0) {
          summary_.wellFormed = false;
        } else {
          --depth_;
        }
        break;
      case kInput:
      case kFeature:
      default: break;
    }
    firstUsage_.reset();  // local items last until the next main item
  }

  void HandleGlobal(std::uint8_t tag, std::span<const std::uint8_t> data) {
    const std::uint32_t value = UnsignedValue(data);
    switch (tag) {
      case kUsagePage: global_.usagePage = static_cast<std::uint16_t>(value); break;
      case kReportSize: global_.reportSize = value; break;
      case kReportCount: global_.reportCount = value; break;
      case kReportId:
        if (value == 0 || value >= kReportIdCount) {
          summary_.wellFormed = false;
        } else {
          global_.reportId = static_cast<std::uint8_t>(value);
        }
        break;
      case kPush:
        if (stackSize_ == stack_.size()) {
          summary_.wellFormed = false;
        } else {
          stack_[stackSize_++] = global_;
        }
        break;
      case kPop:
        if (stackSize_ == 0) {
          summary_.wellFormed = false;
        } else {
          global_ = stack_[--stackSize_];
        }
        break;
      default: break;
    }
  }

  void HandleLocal(std::uint8_t tag, std::span<const std::uint8_t> data) {
    if (tag == kUsage && !firstUsage_) {
      firstUsage_ = PendingUsage{UnsignedValue(data), data.size() == 4};
    }
  }

  TopLevelCollection CollectionUsage() const {
    if (!firstUsage_) return {global_.usagePage, 0};
    if (firstUsage_->carriesPage) {
      return {static_cast<std::uint16_t>(firstUsage_->value >> 16),
              static_cast<std::uint16_t>(firstUsage_->value & 0xFFFFu)};
    }
    return {global_.usagePage, static_cast<std::uint16_t>(firstUsage_->value & 0xFFFFu)};
  }

  // A report ID whose Output items add up to no bits has no output report.
  std::uint16_t LongestOutputReport() const {
    const std::uint64_t longestBits = *std::max_element(outputBits_.begin(), outputBits_.end());
    if (longestBits == 0) return 0;
    const std::uint64_t bytes = longestBits / 8 + (longestBits % 8 != 0 ? 1 : 0) + 1;
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint16_t>::max()));
  }

  ReportDescriptorSummary summary_;
  GlobalState global_;
  std::array<GlobalState, kGlobalStackDepth> stack_{};
  std::size_t stackSize_ = 0;
  std::optional<PendingUsage> firstUsage_;
  std::size_t depth_ = 0;
  std::array<std::uint64_t, kReportIdCount> outputBits_{};
};

}  // namespace

ReportDescriptorSummary ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
  return Parser().Run(descriptor);
}

bool AllTopLevelCollectionsAreKeyboardOrMouse(std::span<const TopLevelCollection> collections) {
  if (collections.empty()) return false;
  return std::all_of(collections.begin(), collections.end(), [](const TopLevelCollection& c) {
    return c.usagePage == kGenericDesktopPage &&
           (c.usage == kKeyboardUsage || c.usage == kKeypadUsage || c.usage == kMouseUsage);
  });
}

}  // namespace kestrova::hid
