# The native build with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# with libFuzzer's coverage in every library so the fuzz targets build too.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(FOTOLARK_SANITIZE ON CACHE BOOL "")
