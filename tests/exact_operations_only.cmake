cmake_minimum_required(VERSION 3.20)
# Fails when a library calls one of the C library's transcendental functions, whose last bits
# differ between processors and toolchains; the exact operations (sqrt, fmod, remainder, round)
# are allowed. Usage: cmake -DNM=nm -DLIBRARIES="a.a;b.a" -P exact_operations_only.cmake
set(forbidden sin cos tan asin acos atan atan2 sinh cosh tanh asinh acosh atanh exp exp2 expm1
              log log2 log10 log1p pow cbrt hypot erf erfc tgamma lgamma sincos)
foreach(library IN LISTS LIBRARIES)
    execute_process(COMMAND ${NM} --undefined-only --format=just-symbols ${library}
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${NM} could not read ${library}")
    endif()
    string(REPLACE "\n" ";" symbols "${symbols}")
    foreach(symbol IN LISTS symbols)
        string(REGEX REPLACE "(@.*|f|l)$" "" plain "${symbol}")
        string(REGEX REPLACE "^__(.*)_finite$" "\\1" plain "${plain}")
        if(plain IN_LIST forbidden OR symbol IN_LIST forbidden)
            message(SEND_ERROR "${library} calls ${symbol}")
        endif()
    endforeach()
endforeach()
