#include "ndb/BrnDevice.h"

// Out of line so the class has one home for its virtual table.
BrnDevice::~BrnDevice() = default;
