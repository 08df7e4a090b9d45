# Writes the service worker (web/page/sw.js.in) into the published folder
# with the list of the page's files and a digest of their contents, so that
# every build that changes a file is a new service worker with a store of
# its own. Run by web/CMakeLists.txt after the module and the page are laid
# out:
#   cmake -DSITE=folder -DTEMPLATE=sw.js.in -DFILES=a,b,... -P service_worker.cmake
string(REPLACE "," ";" FILES "${FILES}")
set(digest_text "")
set(list_text "")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND digest_text "${file} ${digest}\n")
    if(list_text)
        string(APPEND list_text ", ")
    endif()
    string(APPEND list_text "'${file}'")
endforeach()
string(SHA256 TOLMERI_WEB_DIGEST "${digest_text}")
string(SUBSTRING ${TOLMERI_WEB_DIGEST} 0 16 TOLMERI_WEB_DIGEST)
set(TOLMERI_WEB_FILES ${list_text})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
