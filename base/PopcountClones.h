// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ZG_POPCOUNT_CLONES marks a function that counts bits in a hot loop. x86-64's baseline has no
// popcount instruction, so such a function is also built for processors that have one, and the
// right build is picked once at load time. Elsewhere the mark does nothing.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define ZG_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#endif
#endif
#ifndef ZG_POPCOUNT_CLONES
#define ZG_POPCOUNT_CLONES
#endif
