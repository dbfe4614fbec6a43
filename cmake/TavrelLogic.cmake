# The parts of the program that need no window, shared by the program's build
# and the fuzz project, which links them instead of listing their sources
# again: the protocol catalogue (no Qt), and the window's text and record
# handling on Qt Core (the general sender's parsing, the receive queue, the
# table's cell texts and the waveform's levels). Include it after
# cmake/Korvex.cmake; `repo` is the root of the source tree.

add_library(tavrel_catalogue STATIC ${repo}/adapter/protocols.h ${repo}/adapter/protocols.cpp)
target_include_directories(tavrel_catalogue PUBLIC ${repo}/adapter)
target_link_libraries(tavrel_catalogue PUBLIC korvex_api)
tavrel_warnings(tavrel_catalogue)

find_package(Qt5 5.5 REQUIRED COMPONENTS Core)
add_library(tavrel_logic STATIC
    ${repo}/transmit/sendtext.h
    ${repo}/transmit/sendtext.cpp
    ${repo}/receive/receivequeue.h
    ${repo}/receive/receivequeue.cpp
    ${repo}/receive/frameformat.h
    ${repo}/receive/frameformat.cpp
    ${repo}/receive/levels.h
    ${repo}/receive/levels.cpp
)
target_include_directories(tavrel_logic PUBLIC ${repo}/transmit ${repo}/receive)
target_link_libraries(tavrel_logic PUBLIC Qt5::Core korvex_api tavrel_catalogue)
tavrel_warnings(tavrel_logic)
