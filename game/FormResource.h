// FormResource: the main window's design-time description, embedded at build time.
#pragma once

#include <cstdint>
#include <span>

std::span<const std::uint8_t> FormResource();
