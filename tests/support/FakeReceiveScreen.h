#pragma once
// The reception's screen as a test sees it: on top of the transfer screen's
// records, the view as it stands, the program list, the panel and progress.

#include "serial/ReceiveScreen.h"
#include "support/FakeTransferScreen.h"

#include <string>
#include <vector>

namespace kestrovan::test {

class FakeReceiveScreen : public serial::ReceiveScreen {
public:
  FakeTransferScreen base; // everything a transfer shows, and the stop keys

  std::vector<std::string> view; // the transfer view now
  std::size_t viewPeak = 0;      // the most lines it ever held
  std::vector<std::string> programList;
  std::vector<std::string> panelTitles;
  int panelHides = 0;
  std::vector<int> progress;
  std::vector<bool> screenSaver;
  int promptClears = 0;

  void setStatusPanel(int index, const std::string& text) override { base.setStatusPanel(index, text); }
  void showMessageLine(const std::string& text, serial::MessageColour colour) override {
    base.showMessageLine(text, colour);
  }
  void addTransferLine(const std::string& line) override {
    base.addTransferLine(line);
    view.push_back(line);
    if (view.size() > viewPeak) viewPeak = view.size();
  }
  bool askYesNo(const std::string& text) override { return base.askYesNo(text); }
  bool stopKeyDown(serial::StopKeyPoll poll) override { return base.stopKeyDown(poll); }
  bool stopKeyPending() override { return base.stopKeyPending(); }
  void releaseStopKeys() override { base.releaseStopKeys(); }
  void processPendingEvents() override { base.processPendingEvents(); }
  void sleepMs(int ms) override { base.sleepMs(ms); }
  void setDsrLamp(bool on) override { base.setDsrLamp(on); }
  void setCtsLamp(bool on) override { base.setCtsLamp(on); }
  void setModemLampsUnknown() override { base.setModemLampsUnknown(); }
  std::optional<std::string> askSelectorNumber() override { return base.askSelectorNumber(); }

  void setScreenSaverEnabled(bool enabled) override { screenSaver.push_back(enabled); }
  void clearPromptLine() override { ++promptClears; }
  void showReceivePanel(const std::string& title) override { panelTitles.push_back(title); }
  void hideTransferPanel() override { ++panelHides; }
  void clearTransferView() override { view.clear(); }
  void clearProgramList() override { programList.clear(); }
  void addProgramHeader(const std::string& header) override { programList.push_back(header); }
  void setProgress(int value) override { progress.push_back(value); }

  // The last text shown in a status panel ("" when never).
  std::string panel(int index) const {
    for (auto p = base.panels.rbegin(); p != base.panels.rend(); ++p)
      if (p->first == index) return p->second;
    return "";
  }
  std::string lastMessage() const { return base.messages.empty() ? "" : base.messages.back().first; }
};

} // namespace kestrovan::test
