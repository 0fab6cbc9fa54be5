#include "entry/FlexGridView.h"
