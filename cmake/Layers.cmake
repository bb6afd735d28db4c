# Each layer's headers are included as "layer/name.h" from a folder that
# holds that layer alone (a link to its sources), so that a target reaches
# only the layers it links to: runtime < publication < cli, window < app.
function(lumvrex_layer_includes target layer)
  set(root "${PROJECT_BINARY_DIR}/include/${layer}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${layer}" "${root}/${layer}" SYMBOLIC)
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
