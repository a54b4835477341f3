# Installed like a desktop program. Everything the program looks for beside itself goes into one
# program folder, <prefix>/lib/quarvel; <prefix>/bin holds a relative link to it (the program finds
# its folder through /proc/self/exe, so the link may be followed from anywhere). The menu entry,
# icons, metainfo, manual page and Debian documents go below <prefix>/share. The Debian package
# (scripts/package, or cpack -G DEB in the build folder) is made from the same rules.

set(QUARVEL_PROGRAM_DIR lib/quarvel)

# Names and addresses come from the program's own sources, so the two never disagree.
function(quarvel_identity variable constant source)
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/${source} line REGEX "${constant} = \"")
  string(REGEX REPLACE ".*${constant} = \"([^\"]*)\".*" "\\1" value "${line}")
  if(value STREQUAL "" OR value STREQUAL line)
    message(FATAL_ERROR "${constant} not found in src/${source}")
  endif()
  set(${variable} "${value}" PARENT_SCOPE)
endfunction()
quarvel_identity(QUARVEL_PRODUCT kProductName app/identity.h)
quarvel_identity(QUARVEL_VENDOR kVendorFolder app/identity.h)
quarvel_identity(QUARVEL_PROGRAM kProgramName app/identity.h)
quarvel_identity(QUARVEL_SITE kBuiltInSite online/site.cpp)
# The same derivations as the program's: home page below the site, support mail at its host.
set(QUARVEL_HOME_PAGE "${QUARVEL_SITE}/kestrix/")
string(REGEX REPLACE "^[a-z]+://(www\\.)?([^/:]+).*" "\\2" site_host "${QUARVEL_SITE}")
set(QUARVEL_SUPPORT_ADDRESS "support@${site_host}")

# The desktop id: the vendor's web domain reversed, then the program ("example.marrowfen.kestrix").
string(REPLACE "." ";" domain_parts "${site_host}")
list(REVERSE domain_parts)
list(JOIN domain_parts "." reversed_domain)
set(QUARVEL_APP_ID "${reversed_domain}.${QUARVEL_PROGRAM}")
# Window mode gives its window the program's name as its class, whatever link started it.
set(QUARVEL_WINDOW_CLASS "${QUARVEL_PROGRAM}")

# The release this build is: the metainfo and the package changelog carry its date.
set(QUARVEL_RELEASE_DATE 2026-12-11)
set(QUARVEL_RELEASE_DATE_RFC2822 "Fri, 11 Dec 2026 12:00:00 +0000")
set(QUARVEL_SUMMARY "Convert BMP images into DDS textures with full mipmaps")
set(QUARVEL_DESCRIPTION
  "${QUARVEL_PRODUCT} turns a BMP image (also .dib and .rle) into a DirectDraw Surface (DDS) texture with a full chain of filtered mipmaps. On the way the image can be rotated, resized, mirrored, colour-corrected, turned grey, thresholded or dithered, and given a frame and a text or image watermark.")
set(QUARVEL_DESCRIPTION_FACES
  "Started without arguments, ${QUARVEL_PROGRAM} opens a small window: drop a file on it, pick the output folder and convert. Started with arguments it is a console program, with one option for every setting and profile files that hold them.")

set(staged ${PROJECT_BINARY_DIR}/install)
file(MAKE_DIRECTORY ${staged})
configure_file(packaging/kestrix.desktop.in ${staged}/${QUARVEL_APP_ID}.desktop @ONLY)
configure_file(packaging/kestrix.metainfo.xml.in ${staged}/${QUARVEL_APP_ID}.metainfo.xml @ONLY)
configure_file(packaging/copyright ${staged}/copyright @ONLY)
configure_file(packaging/changelog.in ${staged}/changelog @ONLY)
file(CREATE_LINK ../${QUARVEL_PROGRAM_DIR}/kestrix ${staged}/kestrix SYMBOLIC)

# Manual pages and changelogs are installed compressed, as Debian expects.
set(compressed)
foreach(source docs/kestrix.1 ${staged}/changelog)
  get_filename_component(name ${source} NAME)
  get_filename_component(source ${source} ABSOLUTE)
  add_custom_command(OUTPUT ${staged}/${name}.gz
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${source} ${staged}/${name}.gz
    DEPENDS ${source}
    VERBATIM)
  list(APPEND compressed ${staged}/${name}.gz)
endforeach()
add_custom_target(install_documents ALL DEPENDS ${compressed})

# The program folder.
install(TARGETS kestrix RUNTIME DESTINATION ${QUARVEL_PROGRAM_DIR})
install(TARGETS kestrix-window kestrix-drawing LIBRARY DESTINATION ${QUARVEL_PROGRAM_DIR})
install(FILES docs/kestrix.html DESTINATION ${QUARVEL_PROGRAM_DIR})
install(FILES ${PROJECT_BINARY_DIR}/gfx/handdrawn.zip DESTINATION ${QUARVEL_PROGRAM_DIR}/gfx)
install(FILES ${staged}/kestrix DESTINATION bin)

# The desktop's side.
install(FILES ${staged}/kestrix.1.gz DESTINATION share/man/man1)
install(FILES ${staged}/${QUARVEL_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${staged}/${QUARVEL_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${QUARVEL_PROGRAM_ICON_SIZES})
  install(FILES ${PROJECT_BINARY_DIR}/gfx/program_icon_${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${QUARVEL_APP_ID}.png)
endforeach()
install(FILES ${staged}/copyright ${staged}/changelog.gz DESTINATION share/doc/quarvel)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${QUARVEL_VENDOR})
set(CPACK_PACKAGE_CONTACT "${QUARVEL_VENDOR} <${QUARVEL_SUPPORT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${QUARVEL_SUMMARY}")
# Debian wants the long description in lines of at most 80 characters.
function(quarvel_wrap variable text)
  string(REPLACE " " ";" words "${text}")
  set(wrapped "")
  set(line "")
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(line STREQUAL "")
      set(line "${word}")
    elseif(length GREATER 76)
      string(APPEND wrapped "${line}\n")
      set(line "${word}")
    else()
      string(APPEND line " ${word}")
    endif()
  endforeach()
  set(${variable} "${wrapped}${line}" PARENT_SCOPE)
endfunction()
quarvel_wrap(description "${QUARVEL_DESCRIPTION}")
quarvel_wrap(faces "${QUARVEL_DESCRIPTION_FACES}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${description}\n\n${faces}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUARVEL_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Help menu opens pages through xdg-open; the default watermark font is Arial's metric twin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
