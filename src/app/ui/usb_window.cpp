#include "app/ui/usb_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "app/numeric_value.h"
#include "app/ui/back_color.h"
#include "app/ui/clickable_label.h"
#include "app/ui/control_factory.h"
#include "app/ui/fonts.h"
#include "app/ui/shop_link.h"
#include "keys/key_frame.h"
#include "keys/modifiers.h"
#include "keys/mouse_buttons.h"
#include "settings/clearing.h"
#include "settings/hex_filter.h"
#include "settings/key_delay.h"
#include "settings/playback.h"

namespace kestrova::ui {
namespace {

constexpr int kTimerIntervalMs = 350;
constexpr int kPauseBetweenFramesMs = 50;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string Utf8(const QString& text) { return text.toStdString(); }

// The IDs are compared without the spaces around them; other blanks count.
std::string TrimSpaces(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  return Utf8(text.mid(begin, end - begin));
}

double SwitchNumber(const QComboBox* combo) { return NumericValue(Utf8(combo->currentText())); }

}  // namespace

USB::USB(WindowServices services, QWidget* parent)
    : QWidget(parent),
      services_(std::move(services)),
      link_(*services_.port, [this](bool found) { OnDiscovery(found); }) {
  setObjectName("USB");
  setWindowTitle("Kestrova");
  setWindowIcon(QIcon(":/icons/kestrova-32.png"));
  setFont(FontFor(kWindowFont));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::HighlightedText));
  setPalette(palette);
  setAutoFillBackground(true);
  // Nothing in the window follows a change of size.
  setFixedSize(TwipsToPixels(kWindowClientTwips.width), TwipsToPixels(kWindowClientTwips.height));

  CreateControls();
  CreateKeyButtons();
  ConnectHandlers();

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kTimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this, &USB::Timer1_Timer);
  Timer1->start();
}

USB::~USB() = default;

void USB::CreateControls() {
  for (const ControlSpec& spec : WindowControls()) {
    QWidget* parent = spec.parent.empty() ? this : control(Text(spec.parent));
    CreateControl(spec, parent);
  }
  const auto find = [this]<typename T>(T*& field, const char* name) { field = findChild<T*>(name); };
  find(Label3, "Label3");
  find(Combo1, "Combo1");
  find(Check1, "Check1");
  find(Iwrite, "Iwrite");
  find(Text_delay, "Text_delay");
  find(Command_L_btn, "Command_L_btn");
  find(Command_M_btn, "Command_M_btn");
  find(Command_R_btn, "Command_R_btn");
  find(FrameKeyBoard, "FrameKeyBoard");
  find(Command_ctrl, "Command_ctrl");
  find(Command_shift, "Command_shift");
  find(Command_alt, "Command_alt");
  find(Command_win, "Command_win");
  find(Command_ctrl_r, "Command_ctrl_r");
  find(Command_shift_r, "Command_shift_r");
  find(Command_alt_r, "Command_alt_r");
  find(Command_win_r, "Command_win_r");
  find(Label11, "Label11");
  find(lstResults, "lstResults");
  find(Clear, "Clear");
  find(TextIW, "TextIW");
  find(contion, "contion");
  find(Command_auto_run, "Command_auto_run");
  find(Option1, "Option1");
  find(Option2, "Option2");
  find(Command1, "Command1");
  find(Command2, "Command2");
  find(TextVID, "TextVID");
  find(TextPID, "TextPID");
  Label11->setText(QString::fromUtf8(KESTROVA_SHOP_CAPTION));
  Label11->setCursor(Qt::PointingHandCursor);
  // The frame box takes any length; the character check is linear in it.
  TextIW->setMaxLength(1 << 30);
  // Looked up once: every timer tick enables or greys them out again, and a
  // search by name through all the window's children each time would be
  // most of the cost of an idle tick.
  for (std::string_view name : kDeviceControls) deviceControls_.push_back(control(Text(name)));
}

void USB::CreateKeyButtons() {
  keyButtons_.reserve(keys::kKeyButtonCount);
  for (const keys::KeySpec& key : keys::KeyTable()) {
    auto* button = new QPushButton(key.shown ? static_cast<QWidget*>(FrameKeyBoard) : this);
    button->setObjectName("Command_key");
    button->setProperty("Index", key.index);
    button->setFont(KeyFont(key.font));
    if (key.index == keys::kSpareKeyIndex) button->setText(Text(key.caption));  // its design-time caption
    PlaceInTwips(button, key.rect);
    button->setVisible(key.shown);
    connect(button, &QPushButton::clicked, this, [this, index = key.index] { Command_key_Click(index); });
    keyButtons_.push_back(button);
  }
}

void USB::ConnectHandlers() {
  connect(contion, &QPushButton::clicked, this, &USB::contion_Click);
  connect(Command_ctrl, &QPushButton::clicked, this, &USB::Command_ctrl_Click);
  connect(Command_shift, &QPushButton::clicked, this, &USB::Command_shift_Click);
  connect(Command_alt, &QPushButton::clicked, this, &USB::Command_alt_Click);
  connect(Command_win, &QPushButton::clicked, this, &USB::Command_win_Click);
  connect(Command_ctrl_r, &QPushButton::clicked, this, &USB::Command_ctrl_r_Click);
  connect(Command_shift_r, &QPushButton::clicked, this, &USB::Command_shift_r_Click);
  connect(Command_alt_r, &QPushButton::clicked, this, &USB::Command_alt_r_Click);
  connect(Command_win_r, &QPushButton::clicked, this, &USB::Command_win_r_Click);
  connect(Command_L_btn, &QPushButton::clicked, this, &USB::Command_L_btn_Click);
  connect(Command_M_btn, &QPushButton::clicked, this, &USB::Command_M_btn_Click);
  connect(Command_R_btn, &QPushButton::clicked, this, &USB::Command_R_btn_Click);
  connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Option1_Click();
  });
  connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Option2_Click();
  });
  connect(Command_auto_run, &QPushButton::clicked, this, &USB::Command_auto_run_Click);
  connect(Command2, &QPushButton::clicked, this, &USB::Command2_Click);
  connect(Text_delay, &QLineEdit::textChanged, this, &USB::Text_delay_Change);
  connect(Command1, &QPushButton::clicked, this, &USB::Command1_Click);
  connect(Iwrite, &QPushButton::clicked, this, &USB::Iwrite_Click);
  connect(TextIW, &QLineEdit::textChanged, this, &USB::TextIW_Change);
  connect(Clear, &QPushButton::clicked, this, &USB::Clear_Click);
  connect(Label11, &ClickableLabel::clicked, this, &USB::Label11_Click);
}

QPushButton* USB::Command_key(int index) const {
  if (index < 0 || index >= static_cast<int>(keyButtons_.size())) return nullptr;
  return keyButtons_[static_cast<std::size_t>(index)];
}

QWidget* USB::control(const QString& name) const { return findChild<QWidget*>(name); }

// ---- start-up and shutdown ----

void USB::Form_Load() {
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
  show();
  FillKeyTable();
  Combo1->addItems({"1", "2", "3", "4"});
  DisableDeviceControls();
}

void USB::FillKeyTable() {
  for (const keys::KeySpec& key : keys::KeyTable()) {
    if (key.index == keys::kSpareKeyIndex) continue;
    // The code and the caption of one index are always set together.
    keyCodeTable_[static_cast<std::size_t>(key.index)] = Text(key.code);
    keyButtons_[static_cast<std::size_t>(key.index)]->setText(Text(key.caption));
  }
}

void USB::SetDeviceControlsEnabled(bool enabled) {
  for (QPushButton* key : keyButtons_) key->setEnabled(enabled);
  for (QWidget* widget : deviceControls_) widget->setEnabled(enabled);
}

void USB::EnableDeviceControls() { SetDeviceControlsEnabled(true); }
void USB::DisableDeviceControls() { SetDeviceControlsEnabled(false); }

void USB::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void USB::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Timer1->stop();
  CloseDeviceHandles();
}

// ---- connection and writing ----

void USB::Timer1_Timer() { contion_Click(); }

void USB::contion_Click() {
  link_.SetWantedIds(TrimSpaces(TextVID->text()), TrimSpaces(TextPID->text()));
  FindTheHid();
}

bool USB::FindTheHid() { return link_.FindTheHid(); }

void USB::OnDiscovery(bool found) {
  if (const auto notice = accessDeniedNotice_.AfterDiscoveryRun(!found && link_.accessDeniedThisRun())) {
    AddStatusLine(Text(*notice));
  }
  if (found) {
    Label3->setText("设备连接成功！");
    EnableDeviceControls();
  } else {
    Label3->setText("请插入设备！");
    DisableDeviceControls();
  }
}

void USB::WriteFrame() { link_.WriteFrame(Utf8(TextIW->text())); }

void USB::CloseDeviceHandles() {
  link_.CloseHidHandle();
  AddStatusLine("CloseHandle (HIDHandle)");
  link_.CloseReadHandle();
  AddStatusLine("CloseHandle (ReadHandle)");
}

// ---- key and mouse assignment ----

bool USB::BuildKeyFrame() {
  std::array<keys::ColourValue, 8> colours{};
  const std::array<QPushButton*, 8> toggles = {Command_ctrl,   Command_shift,   Command_alt,   Command_win,
                                               Command_ctrl_r, Command_shift_r, Command_alt_r, Command_win_r};
  for (std::size_t i = 0; i < toggles.size(); ++i) colours[i] = BackColor(toggles[i]);
  modifierMask_ = keys::ModifierMaskFromColours(colours);
  const auto frame = keys::KeyFrameText(SwitchNumber(Combo1), modifierMask_, keyCode_);
  if (!frame) return false;
  TextIW->setText(Text(*frame));
  return true;
}

void USB::ToggleModifier(QPushButton* toggle) {
  SetBackColor(toggle, keys::ToggledColour(BackColor(toggle)));
  keyCode_ = 0.0;
  BuildKeyFrame();
}

void USB::Command_ctrl_Click() { ToggleModifier(Command_ctrl); }
void USB::Command_shift_Click() { ToggleModifier(Command_shift); }
void USB::Command_alt_Click() { ToggleModifier(Command_alt); }
void USB::Command_win_Click() { ToggleModifier(Command_win); }
void USB::Command_ctrl_r_Click() { ToggleModifier(Command_ctrl_r); }
void USB::Command_shift_r_Click() { ToggleModifier(Command_shift_r); }
void USB::Command_alt_r_Click() { ToggleModifier(Command_alt_r); }
void USB::Command_win_r_Click() { ToggleModifier(Command_win_r); }

void USB::Command_key_Click(int index) {
  if (!link_.deviceConnected() && !link_.deviceFoundOnce()) {
    AddStatusLine(Text(keys::kNotConnectedMessage));
    return;
  }
  if (index < 0 || index >= keys::kKeyCodeTableSize) return;
  keyCode_ = Utf8(keyCodeTable_[static_cast<std::size_t>(index)]);
  if (!BuildKeyFrame()) {
    // Nothing is written rather than a frame for the wrong slot or key.
    AddStatusLine(Text(keys::KeyFrameRefusal(SwitchNumber(Combo1))));
    return;
  }
  WriteFrame();
  services_.sleep(kPauseBetweenFramesMs);
  Command2_Click();
  const QPushButton* key = Command_key(index);
  const std::string caption = key != nullptr ? Utf8(key->text()) : std::string();
  AddStatusLine(Text(keys::KeyAssignedMessage(SwitchNumber(Combo1), modifierMask_, caption)));
}

bool USB::BuildMouseFrame() {
  const double* code = std::get_if<double>(&keyCode_);
  const auto frame = keys::MouseFrameText(SwitchNumber(Combo1), code != nullptr ? *code : 0.0);
  if (!frame) return false;
  TextIW->setText(Text(*frame));
  return true;
}

void USB::AssignMouseButton(std::size_t button) {
  const keys::MouseButton& mouse = keys::kMouseButtons.at(button);
  keyCode_ = mouse.code;
  if (!BuildMouseFrame()) {
    AddStatusLine(Text(keys::kInvalidSwitchMessage));
    return;
  }
  WriteFrame();
  AddStatusLine(Text(keys::MouseAssignedMessage(SwitchNumber(Combo1), mouse)));
}

void USB::Command_L_btn_Click() { AssignMouseButton(0); }
void USB::Command_M_btn_Click() { AssignMouseButton(1); }
void USB::Command_R_btn_Click() { AssignMouseButton(2); }

// ---- device settings ----

void USB::Command2_Click() {
  if (!link_.deviceConnected() && !link_.deviceFoundOnce()) {
    AddStatusLine(Text(keys::kNotConnectedMessage));
    return;
  }
  const double delay = settings::KeyDelayMilliseconds(Utf8(Text_delay->text()));
  TextIW->setText(Text(settings::KeyDelayFrameText(delay)));
  WriteFrame();
  if (settings::ShouldLogKeyDelay(Utf8(Text_delay->text()))) AddStatusLine(Text(settings::KeyDelayMessage(delay)));
  services_.sleep(kPauseBetweenFramesMs);
  TextIW->setText(Text(settings::LongPressFrameText(Check1->isChecked())));
  WriteFrame();
}

void USB::Text_delay_Change() {
  if (const auto capped = settings::CappedKeyDelayText(Utf8(Text_delay->text()))) Text_delay->setText(Text(*capped));
}

void USB::Command_auto_run_Click() {
  const bool powerOnRun = BackColor(Command_auto_run) != keys::kToggleOnColour;
  SetBackColor(Command_auto_run, powerOnRun ? keys::kToggleOnColour : keys::kButtonFaceColour);
  TextIW->setText(Text(settings::PlaybackFrameText(powerOnRun, Option2->isChecked())));
  AddStatusLine(Text(powerOnRun ? settings::kPowerOnRunMessage : settings::kNoPowerOnRunMessage));
  WriteFrame();
}

void USB::WriteOptionFrame(bool loopPlay) {
  const bool powerOnRun = BackColor(Command_auto_run) == keys::kToggleOnColour;
  TextIW->setText(Text(settings::PlaybackFrameText(powerOnRun, loopPlay)));
  WriteFrame();
  AddStatusLine(Text(loopPlay ? settings::kLoopPlayMessage : settings::kSinglePlayMessage));
}

void USB::Option1_Click() { WriteOptionFrame(false); }
void USB::Option2_Click() { WriteOptionFrame(true); }

void USB::Command1_Click() {
  TextIW->setText(Text(settings::kClearPendingText));
  if (!services_.confirm(this, Text(settings::kClearQuestionTitle), Text(settings::kClearQuestion))) return;
  Combo1->setEditText(Text(settings::kSwitchTextAfterClear));
  for (int record = 0; record < settings::kRecordCount; ++record) {
    TextIW->setText(Text(settings::ClearFrameText(record)));
    WriteFrame();
  }
  AddStatusLine(Text(settings::kClearedMessage));
}

void USB::TextIW_Change() {
  // Removing a character changes the text again; the loop handles that
  // change here instead of recursing once per offending character.
  if (filteringTextIW_) return;
  filteringTextIW_ = true;
  while (const auto offending = settings::FirstOffendingCharacter(TextIW->text().toStdU32String())) {
    services_.inform(this, Text(settings::kNotHexMessage));
    TextIW->setText(QString::fromStdU32String(settings::RemoveCharacter(TextIW->text().toStdU32String(), *offending)));
  }
  filteringTextIW_ = false;
}

void USB::Iwrite_Click() {
  WriteFrame();
  AddStatusLine("写入数据：" + TextIW->text());
}

// ---- status log and shop link ----

void USB::AddStatusLine(const QString& message) {
  lstResults->addItem(Text(FormatStatusLine(services_.now(), Utf8(message))));
  lstResults->setCurrentRow(lstResults->count() - 1);
  lstResults->scrollToBottom();
}

void USB::Clear_Click() { lstResults->clear(); }

void USB::Label11_Click() { services_.openUrl(QString::fromUtf8(KESTROVA_SHOP_URL)); }

}  // namespace kestrova::ui
