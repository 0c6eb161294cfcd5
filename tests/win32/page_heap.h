// A test allocator that makes a use after free fault at once. While it is
// on, every object made with operator new gets pages of its own; deleting it
// gives its pages back to the system but keeps their addresses reserved, so
// no later object lands there and any read or write of the freed object is
// an access violation. Off, operator new and delete are malloc and free.
#ifndef VELLAMIRE_TESTS_WIN32_PAGE_HEAP_H_
#define VELLAMIRE_TESTS_WIN32_PAGE_HEAP_H_

namespace page_heap {

// Switches page allocation on or off for the objects made from now on.
// Objects already on pages are freed the same way whatever the switch.
void Use(bool on);

// Whether `p` is an object on pages of its own, not yet freed.
bool OnPages(const void* p);

// From now on an access violation ends the program at once with exit code 3,
// after a line on stderr naming the address, instead of whatever the system
// does with an unhandled fault (under Wine, a debugger).
void DieOnAccessViolation();

}  // namespace page_heap

#endif  // VELLAMIRE_TESTS_WIN32_PAGE_HEAP_H_
