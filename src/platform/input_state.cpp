#include "platform/input_state.h"

namespace plat {

KeyAndButtonState& GetInputState() {
  static KeyAndButtonState state;
  return state;
}

}  // namespace plat
