// SPDX-License-Identifier: GPL-3.0-or-later
// Anchors the resource library: the pictures themselves are added by qt_add_resources.
namespace gt { int assetsAnchor() { return 0; } }
