#pragma once

#include "room/b.h"
