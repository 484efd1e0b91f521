#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/window_services.h"
#include "hid/access_denied_notice.h"
#include "hid/device_link.h"
#include "keys/key_code.h"
#include "keys/key_table.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kestrova::ui {

class ClickableLabel;

// The one window. It owns the controls and the window-level state; every
// handler reads its controls, asks the pure rules for the result and writes
// it back or hands it to the device link.
class USB : public QWidget {
  Q_OBJECT

 public:
  explicit USB(WindowServices services, QWidget* parent = nullptr);
  ~USB() override;

  // Start-up and shutdown.
  void Form_Load();
  void Form_Unload();
  void FillKeyTable();
  void EnableDeviceControls();
  void DisableDeviceControls();

  // Connection and writing.
  void Timer1_Timer();
  void contion_Click();
  bool FindTheHid();
  void WriteFrame();
  void CloseDeviceHandles();

  // Key and mouse assignment.
  bool BuildKeyFrame();
  bool BuildMouseFrame();
  void Command_key_Click(int index);
  void Command_ctrl_Click();
  void Command_shift_Click();
  void Command_alt_Click();
  void Command_win_Click();
  void Command_ctrl_r_Click();
  void Command_shift_r_Click();
  void Command_alt_r_Click();
  void Command_win_r_Click();
  void Command_L_btn_Click();
  void Command_M_btn_Click();
  void Command_R_btn_Click();

  // Device settings.
  void Command2_Click();
  void Text_delay_Change();
  void Command_auto_run_Click();
  void Option1_Click();
  void Option2_Click();
  void Command1_Click();
  void TextIW_Change();
  void Iwrite_Click();

  // Status log and shop link.
  void AddStatusLine(const QString& message);
  void Clear_Click();
  void Label11_Click();

  QPushButton* Command_key(int index) const;
  // Any control of the window by its name.
  QWidget* control(const QString& name) const;

  const std::array<QString, keys::kKeyCodeTableSize>& KeyCodeTable() const { return keyCodeTable_; }
  const keys::KeyCodeValue& KeyCode() const { return keyCode_; }
  std::uint8_t ModifierMask() const { return modifierMask_; }
  const hid::DeviceLink& link() const { return link_; }

  // The controls that the commands read and write.
  QLabel* Label3 = nullptr;
  QComboBox* Combo1 = nullptr;
  QCheckBox* Check1 = nullptr;
  QPushButton* Iwrite = nullptr;
  QLineEdit* Text_delay = nullptr;
  QPushButton* Command_L_btn = nullptr;
  QPushButton* Command_M_btn = nullptr;
  QPushButton* Command_R_btn = nullptr;
  QGroupBox* FrameKeyBoard = nullptr;
  QPushButton* Command_ctrl = nullptr;
  QPushButton* Command_shift = nullptr;
  QPushButton* Command_alt = nullptr;
  QPushButton* Command_win = nullptr;
  QPushButton* Command_ctrl_r = nullptr;
  QPushButton* Command_shift_r = nullptr;
  QPushButton* Command_alt_r = nullptr;
  QPushButton* Command_win_r = nullptr;
  ClickableLabel* Label11 = nullptr;
  QListWidget* lstResults = nullptr;
  QPushButton* Clear = nullptr;
  QLineEdit* TextIW = nullptr;
  QPushButton* contion = nullptr;
  QPushButton* Command_auto_run = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QLineEdit* TextVID = nullptr;
  QLineEdit* TextPID = nullptr;
  QTimer* Timer1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateKeyButtons();
  void ConnectHandlers();
  void SetDeviceControlsEnabled(bool enabled);
  void ToggleModifier(QPushButton* toggle);
  void AssignMouseButton(std::size_t button);
  void WriteOptionFrame(bool loopPlay);
  void OnDiscovery(bool found);

  WindowServices services_;
  hid::DeviceLink link_;
  hid::AccessDeniedNotice accessDeniedNotice_;
  std::array<QString, keys::kKeyCodeTableSize> keyCodeTable_;
  keys::KeyCodeValue keyCode_ = 0.0;
  std::uint8_t modifierMask_ = 0;
  std::vector<QPushButton*> keyButtons_;
  std::vector<QWidget*> deviceControls_;  // kDeviceControls, in that order
  bool filteringTextIW_ = false;
  bool unloaded_ = false;
};

}  // namespace kestrova::ui
