#pragma once

#include <string>

struct Network;

// The rows of the FACTS devices in the solution listing: each device a
// "-99" line and one row, MW, Mvar and degrees on the MVA base `base`.
std::string SvcListingRows(const Network& network, double base);
std::string TcscListingRows(const Network& network, double base);
std::string StatcomListingRows(const Network& network, double base);
