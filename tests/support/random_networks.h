// Small random networks for the property tests of siphons and covering,
// and the text that the reader and the crninv program read back; and one
// network whose minimal siphons are many by construction.
#ifndef CRNINV_TESTS_SUPPORT_RANDOM_NETWORKS_H_
#define CRNINV_TESTS_SUPPORT_RANDOM_NETWORKS_H_

#include <cstdint>
#include <random>
#include <string>

// Up to species species named s0, s1 ... and reactions r0, r1 ...: sides
// of zero to three terms with coefficients 0 to 3 (0 written out, as a
// model may), a species sometimes on both sides; every species appears.
std::string random_network_text(std::mt19937& random, uint32_t species, uint32_t reactions);

// Up to reactions reactions among species species s0, s1 ..., each moving
// one or two species to one or two others, no species on both sides; the
// first species reactions each make one species in turn. Few siphons of a
// single species, many long ones.
std::string random_flow_network_text(std::mt19937& random, uint32_t species, uint32_t reactions);

// A ring of steps t_i: p_i + q_i -> p_{i+1} + q_{i+1}. A minimal siphon (or
// trap) takes one of p_i and q_i at every step: 2^steps of them, and each
// species is held by half.
std::string ring_network_text(int steps);

#endif  // CRNINV_TESTS_SUPPORT_RANDOM_NETWORKS_H_
