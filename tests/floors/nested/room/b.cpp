#include "room/b.h"

#include "room/a.h"

int b() {
    return 0;
}
