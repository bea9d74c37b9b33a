#include "CRunDriver.h"
