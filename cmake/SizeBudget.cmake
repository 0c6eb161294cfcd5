# Fails, and removes the file so that the next build makes it again, when it
# is larger than its budget:
#   cmake -DFILE=<file> -DBUDGET=<bytes> -P cmake/SizeBudget.cmake
file(SIZE ${FILE} size)
if(size GREATER BUDGET)
  file(REMOVE ${FILE})
  message(FATAL_ERROR "${FILE} is ${size} bytes, over its budget of ${BUDGET} bytes (removed)")
endif()
message(STATUS "${FILE}: ${size} bytes, within its budget of ${BUDGET}")
