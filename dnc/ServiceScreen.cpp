#include "dnc/ServiceScreen.h"

#include "serial/Line.h"
#include "serial/ReceiveJob.h"
#include "serial/SendTexts.h"

#include <algorithm>
#include <thread>

namespace kestrovan::dnc {

bool ServiceScreen::stopRequested() const {
  return stop_.load() || (deadline_ && std::chrono::steady_clock::now() >= *deadline_);
}

void ServiceScreen::setStatusPanel(int index, const std::string& text) {
  if (index != 3 || !onState_) return;
  if (text == serial::kReceivingText) {
    onState_("receiving", "");
  } else if (text == serial::kSendWaitingSignal) {
    onState_("sending", "waiting for the controller's DC1");
  } else if (text == serial::kSending) {
    deadline_.reset(); // the controller asked: the send runs to its end
    onState_("sending", "");
  }
}

void ServiceScreen::sleepMs(int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stopRequested()) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= until) return;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        until - now, std::chrono::milliseconds(serial::kWaitSliceMs)));
  }
}

base::MessageAnswer ServiceScreen::show(const base::Message& message) {
  switch (message.buttons) {
  case base::MessageButtons::Ok: return base::MessageAnswer::Ok;
  case base::MessageButtons::Yes: return base::MessageAnswer::Yes;
  case base::MessageButtons::OkCancel:
  case base::MessageButtons::YesNoAllCancel:
  case base::MessageButtons::YesNoCancel: return base::MessageAnswer::Cancel;
  case base::MessageButtons::YesNo: return base::MessageAnswer::No;
  }
  return base::MessageAnswer::Cancel;
}

} // namespace kestrovan::dnc
