// is_file_readonly: whether a file is read-only on disk, in the project, or
// both; its result is the read-only state 0 to 3 (1: no write permission on
// disk, 2: marked read-only in the project).
//
//   is_file_readonly -file <path>
//
// A file that is neither in the project nor on disk is refused.
#pragma once

#include "icmd/IcmdCommandFactory.h"

IcmdCommandFactory IcmdIsFileReadOnlyFactory();
