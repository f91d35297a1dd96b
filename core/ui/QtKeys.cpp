#include "core/ui/QtKeys.h"

#include <QKeyEvent>
#include <Qt>

namespace kestrovan::core {

std::optional<Key> keyOf(int qtKey) {
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F10) return static_cast<Key>(qtKey - Qt::Key_F1);
  switch (qtKey) {
  case Qt::Key_Escape: return Key::Esc;
  case Qt::Key_Space: return Key::Space;
  case Qt::Key_PageUp: return Key::PageUp;
  case Qt::Key_PageDown: return Key::PageDown;
  case Qt::Key_Home: return Key::Home;
  case Qt::Key_End: return Key::End;
  case Qt::Key_Return:
  case Qt::Key_Enter: return Key::Enter;
  case Qt::Key_B: return Key::B;
  case Qt::Key_C: return Key::C;
  case Qt::Key_D: return Key::D;
  case Qt::Key_E: return Key::E;
  case Qt::Key_F: return Key::F;
  case Qt::Key_H: return Key::H;
  case Qt::Key_I: return Key::I;
  case Qt::Key_K: return Key::K;
  case Qt::Key_L: return Key::L;
  case Qt::Key_M: return Key::M;
  case Qt::Key_O: return Key::O;
  case Qt::Key_R: return Key::R;
  case Qt::Key_S: return Key::S;
  case Qt::Key_T: return Key::T;
  case Qt::Key_V: return Key::V;
  case Qt::Key_X: return Key::X;
  case Qt::Key_Y: return Key::Y;
  case Qt::Key_Z: return Key::Z;
  default: return std::nullopt;
  }
}

std::optional<bool> altKeyEvent(const QKeyEvent& k, const host::AltKeys& hooks) {
  if (k.type() == QEvent::KeyRelease) {
    if (hooks.keyUp && !k.isAutoRepeat()) hooks.keyUp();
    return false;
  }
  if (k.key() == Qt::Key_Alt) {
    if (hooks.altDown) hooks.altDown();
    return false;
  }
  if (k.key() < Qt::Key_A || k.key() > Qt::Key_Z || !(k.modifiers() & Qt::AltModifier)) return std::nullopt;
  if (hooks.altLetter && !k.isAutoRepeat()) hooks.altLetter(static_cast<char>('A' + (k.key() - Qt::Key_A)));
  return true;
}

} // namespace kestrovan::core
