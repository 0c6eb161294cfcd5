// Doubles in the tests are compared as stored 64-bit values.
#ifndef VELLAMIRE_TESTS_STORED_DOUBLE_H_
#define VELLAMIRE_TESTS_STORED_DOUBLE_H_

// v as a 64-bit double read back from memory. On the x87 a value the test
// has just computed may still sit in an 80-bit register, and so compare
// unequal to the same value stored; an expected double goes through this
// before it is compared. Cannot fail.
inline double Stored(double v) {
  volatile double stored = v;
  return stored;
}

#endif  // VELLAMIRE_TESTS_STORED_DOUBLE_H_
