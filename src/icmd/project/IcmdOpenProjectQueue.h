// The files that reading a project found changed on disk since it was last
// saved; the open re-adds them once the project stands.
#pragma once

#include "ifile/IfileObject.h"

#include <deque>

std::deque<IfileObject>& IcmdFilesModifiedSinceLastOpen();
