// SPDX-License-Identifier: GPL-3.0-or-later
// Under the leak checker: fontconfig keeps its font caches until the process ends and never frees
// them, whichever program asks it for fonts; those are not the program's leaks.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
