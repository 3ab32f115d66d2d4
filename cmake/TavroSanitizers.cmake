# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build.
if(TAVRO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# Coverage for libFuzzer on everything the fuzz targets link.
if(TAVRO_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
