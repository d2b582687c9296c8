#pragma once
#include "high/high.h"  // planted: a lower library reaching up
