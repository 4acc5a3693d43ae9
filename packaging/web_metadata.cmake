# The package's web addresses, all made from NORVALE_WEB_BASE (the base address
# of the maker's web pages), and the AppStream metainfo that lists them.
# Included by packaging/CMakeLists.txt and by the package tests, which write
# the metainfo for web bases the build was not configured with.

# norvale_web_metadata(<web base> <screenshot.png> <homepage var> <metainfo block var>)
#
# With an empty base there is no address to give: the homepage is empty and
# the metainfo lists neither a homepage nor a screenshot. Otherwise the
# homepage is the product page "<base>/Norvale/" (controls/Web.h, kProductPath)
# and, for an https base, the screenshot is "<base>/Norvale/window.png", where
# the packager publishes <screenshot.png>: AppStream wants its images from
# https addresses, so an http base gets the homepage but no screenshot.
function(norvale_web_metadata base screenshot homepage_var block_var)
  set(homepage "")
  set(block "")
  if(NOT base STREQUAL "")
    # A host, an optional port and path; nothing that would need escaping in XML
    # or in a control field.
    if(NOT base MATCHES "^(https?)://[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?(:[0-9]+)?(/[A-Za-z0-9._~/%+-]*)?$")
      message(FATAL_ERROR "NORVALE_WEB_BASE '${base}' is not an http or https address "
                          "(e.g. https://norvale.example)")
    endif()
    set(scheme "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "/+$" "" base "${base}")
    set(homepage "${base}/Norvale/")
    string(APPEND block "\n  <url type=\"homepage\">${homepage}</url>")
    if(scheme STREQUAL "https")
      # The size AppStream asks for, from the PNG's header (IHDR width, height).
      file(READ "${screenshot}" png_header LIMIT 24 HEX)
      set(word "[0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]")
      if(NOT png_header MATCHES "^89504e470d0a1a0a0000000d49484452(${word})(${word})$")
        message(FATAL_ERROR "${screenshot} is not a PNG picture")
      endif()
      math(EXPR width "0x${CMAKE_MATCH_1}")
      math(EXPR height "0x${CMAKE_MATCH_2}")
      string(APPEND block
             "\n  <screenshots>"
             "\n    <screenshot type=\"default\">"
             "\n      <caption>The window: the Moon of the chosen day, its age, phase and lit share</caption>"
             "\n      <image type=\"source\" width=\"${width}\" height=\"${height}\">${base}/Norvale/window.png</image>"
             "\n    </screenshot>"
             "\n  </screenshots>")
    else()
      message(STATUS "packaging: NORVALE_WEB_BASE is not https; AppStream takes screenshots "
                     "only from https addresses, so the metainfo lists none")
    endif()
  endif()
  set(${homepage_var} "${homepage}" PARENT_SCOPE)
  set(${block_var} "${block}" PARENT_SCOPE)
endfunction()

# norvale_write_metainfo(<template> <output> <web base> <screenshot.png> <homepage var>)
#
# Writes the metainfo from its template with the web entries for <web base>
# (only when the text changes) and returns the homepage, empty without a base.
function(norvale_write_metainfo template output base screenshot homepage_var)
  norvale_web_metadata("${base}" "${screenshot}" homepage NORVALE_METAINFO_WEB)
  file(READ "${template}" text)
  file(CONFIGURE OUTPUT "${output}" CONTENT "${text}" @ONLY)
  set(${homepage_var} "${homepage}" PARENT_SCOPE)
endfunction()
