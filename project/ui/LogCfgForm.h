#pragma once
// The log settings dialog "Config Log File.". Its controls show one LogSettings, its own or
// the one bound to it (the station's, which the program's close writes the log with), and
// every change of a control is stored there at once. The main window reads the settings
// file through it at start-up and has it write the log at close.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "base/MessageLog.h"
#include "base/Operator.h"
#include "project/LogFileWriter.h"
#include "project/LogSettings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qx {

class TLogCfgForm : public QDialog {
  Q_OBJECT

 public:
  // appDir with a trailing '/'; log is the message log saved at close.
  TLogCfgForm(std::string appDir, const MessageLog& log, Operator& op, QWidget* parent = nullptr);

  // From now on the controls show and change these settings (they outlive the dialog).
  void BindSettings(LogSettings& settings);

  void LoadLogConfig();
  // False only when the customer log could not be appended to.
  bool WriteLogFile();
  void WriteSystemLog();
  bool WriteCustomerLog();

  int LogModeIndex() const;
  std::string LogFileName() const;
  // The settings in force (what the controls show once the dialog is shown), and the
  // controls made to show others, which are then in force.
  LogSettings Settings() const { return *settings_; }
  void SetSettings(const LogSettings& settings);

  void CheckBoxLogClick();
  void RadioGrpCreatClick();
  void SpeedButtonOPClick();
  void OKClick();
  void FormShow();
  void FormClose();

  // The browse dialog; tests replace it. Returns the chosen file, empty when cancelled.
  std::function<QString()> ChooseLogFile;
  // Stamp and language of the written log; tests replace them.
  std::function<LogStamp()> Clock = CurrentLogStamp;
  Language Lang = BuildLanguage();
  // True when a short system log is kept as well (a batch run); unset: never.
  std::function<bool()> KeepShortLog;

  QCheckBox* CheckBoxLog;
  QGroupBox* RadioGrpCreat;
  QGroupBox* RadioGrpMod;
  QLineEdit* EditLogName;
  QLabel* LabelFNM;
  QToolButton* SpeedButtonOP;
  QPushButton* OK;

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  LogWriteEnv Env() const;
  void SetCaptions();
  void UpdateEnabled();
  LogSettings ReadControls() const;
  // After a control changed: the settings follow it.
  void StoreControls();

  std::string appDir_;
  LogSettings ownSettings_;
  LogSettings* settings_ = &ownSettings_;
  bool showingSettings_ = false;  // the controls are being set from the settings
  const MessageLog& log_;
  Operator& op_;
  QButtonGroup* creatGroup_;
  QButtonGroup* modGroup_;
  std::vector<QRadioButton*> creatItems_;
  std::vector<QRadioButton*> modItems_;
};

// A filter of the form "Text|*.a;*.b" as the Qt file dialog takes it: "Text (*.a *.b)".
QString QtFileFilter(std::string_view filter);

}  // namespace qx
