# Warnings as errors on every compiler, and the optional sanitizer build.
add_compile_options(-Wall -Wextra -Werror)
if(TARNELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
