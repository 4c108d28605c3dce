#pragma once

#include <string>
#include <vector>

#include "network.h"

// A network model as a list of labelled values, in list order, so that two
// models can be compared field by field with a tolerance on the numbers.
struct DigestEntry {
    std::string label;
    std::string text;    // texts, codes and links
    double value = 0.0;  // numbers
    bool numeric = false;
};

std::vector<DigestEntry> NetworkDigest(const Network& network);

// Adds a test failure for every entry in which the two digests differ.
void ExpectSameNetwork(const Network& expected, const Network& actual, double tolerance);
