#pragma once
#include <string>

// Seconds as mm:ss: at least two minute digits and no upper limit (125 minutes show as 125:05).
std::string FormatTime(double seconds);
