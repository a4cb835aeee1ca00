#include "gui/vb_key_codes.h"

#include <Qt>

namespace {

struct KeyPair {
  int qt;
  int vb;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},      {Qt::Key_Pause, 19},    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},      {Qt::Key_Home, 36},     {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},       {Qt::Key_Right, 39},    {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
};

constexpr int kVbF1 = 112;

}  // namespace

int vbKeyCode(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return qtKey;  // Qt uses the same upper-case character codes here
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kVbF1 + (qtKey - Qt::Key_F1);
  for (const KeyPair& k : kNamedKeys)
    if (k.qt == qtKey) return k.vb;
  return 0;
}
