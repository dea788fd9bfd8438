#pragma once

// The program's version triple; saves carry it and the version gate compares it.
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionBuild = 10;
