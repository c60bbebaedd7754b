// SPDX-License-Identifier: GPL-3.0-or-later
// Under the leak checker: x265, through which the HEIC test pictures are written, keeps one block of
// its encoder's start-up until the process ends; that is not the program's leak.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265\n"; }
