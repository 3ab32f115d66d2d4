# Warnings every target of the project is built with.
add_library(tavro_warnings INTERFACE)
if(MSVC)
    target_compile_options(tavro_warnings INTERFACE /W4 /permissive-)
else()
    target_compile_options(tavro_warnings INTERFACE -Wall -Wextra -Wpedantic)
endif()
