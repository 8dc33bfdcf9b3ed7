# The JPEG module (QImage <-> JPEG stream over libjpeg) as a library of its own, so that
# the windows, the developer tools and the JPEG tests all link the same compiled code.
# Included from src/windows/CMakeLists.txt.
if(NOT TARGET JPEG::JPEG)
  find_package(JPEG REQUIRED)
endif()

add_library(quendral_jpeg STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Jpeg.h
)
target_include_directories(quendral_jpeg PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quendral_jpeg PUBLIC Qt6::Gui PRIVATE JPEG::JPEG)
set_target_properties(quendral_jpeg PROPERTIES AUTOMOC OFF)
