# Example simulations. Each is kept as a preset CSV and made into a .redu file by
# radove-cli at build time, in ${RADOVE_RUNTIME_DIR}/examples. To add one, put
# NAME.csv in data/examples/ and add "NAME DEVICE-CODE" below.
set(radove_examples
  "traffic_light 100090"
  "lcm1602_hello 700001"
  "lcm2004_demo 700006"
)

set(radove_examples_dir ${RADOVE_RUNTIME_DIR}/examples)
set(radove_example_outputs)
foreach(example ${radove_examples})
  separate_arguments(example)
  list(GET example 0 name)
  list(GET example 1 code)
  set(csv ${CMAKE_CURRENT_LIST_DIR}/examples/${name}.csv)
  set(redu ${radove_examples_dir}/${name}.redu)
  add_custom_command(
    OUTPUT ${redu}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${radove_examples_dir}
    COMMAND radove-cli convert ${csv} ${redu} --device ${code}
    DEPENDS radove-cli ${csv}
    COMMENT "Making the example simulation ${name}.redu"
    VERBATIM)
  list(APPEND radove_example_outputs ${redu})
endforeach()
add_custom_target(radove_examples ALL DEPENDS ${radove_example_outputs})
