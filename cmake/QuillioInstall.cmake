# quillio_install_program(TARGET)
# A program the person runs: installed in bin/ and so shipped in the package. Each program's own
# CMakeLists.txt calls it for its target; tests, the benchmark and the build's helpers do not.
function(quillio_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
