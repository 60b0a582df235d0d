#pragma once
// Shortening of paths for display.
#include "classlib/gui/Canvas.h"
#include <string>

// Shortens fileName until it fits maxWidth pixels in canvas's font, cutting folders
// from the front: "C:\...\folder\file.txt", then "...\file.txt", then the bare name
// (which is returned even when it is still wider).
std::string MinimizeName(const std::string& fileName, TCanvas& canvas, int maxWidth);
