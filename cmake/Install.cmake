# install rules come with the foundation
