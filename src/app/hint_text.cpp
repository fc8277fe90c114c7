#include "app/hint_text.h"

cHintText g_HintText;
