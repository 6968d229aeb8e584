# libFuzzer targets: every tests/<layer>/fuzz/fuzz_*.cpp becomes a program of its own, linked
# with the libraries named in its "// links:" comment. Built only with clang and KX2_FUZZ=ON
# (make fuzz; make test runs each target briefly).
file(GLOB fuzzers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*/fuzz/fuzz_*.cpp)
foreach(src ${fuzzers})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  file(STRINGS ${src} links REGEX "^// links:")
  string(REPLACE "// links:" "" links "${links}")
  separate_arguments(links)
  target_link_libraries(${name} PRIVATE ${links} Threads::Threads)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endforeach()
